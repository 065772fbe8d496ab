#include <gtest/gtest.h>

#include <set>

#include "resources/string_ids.h"
#include "resources/string_table.h"

using namespace quorle;

// Every name points at a string the table has, and no two names share one:
// a renumbered or dropped entry shows here rather than as an empty text.
TEST(StringIds, EveryNameHasItsString) {
    const int ids[] = {
        strings::kInterfaceMajorVersion, strings::kInterfaceMinorVersion,
        strings::kProductVersion,        strings::kOrdinalVersion,
        strings::kPluginType,            strings::kFileTypes,
        strings::kExtraToolList,         strings::kCompilerExtension,
        strings::kDisplayPhaseStart,     strings::kDisplayFileStart,
        strings::kDisplayStepStart,      strings::kDisplayStepEnd,
        strings::kDisplayFileEnd,        strings::kDisplayPhaseEnd,
        strings::kCompilerBanners,       strings::kEmptyList,
        strings::kCodeNavigationItems,   strings::kTemporaryBanner,
        strings::kCommandPrefix,         strings::kToolchainCorvo,
        strings::kToolchainPelka,        strings::kToolchainTamsin,
        strings::kToolchainZenta,        strings::kToolchainGeneric,
        strings::kOptionModified,        strings::kIntegerRange,
        strings::kIntegerExpected,       strings::kDialogUnavailable,
        strings::kKeepWithNoload,        strings::kGarbageCollectionInfo,
        strings::kSectionExportFailed,   strings::kSectionPlaceholdersLeft,
        strings::kLabelNameMissing,      strings::kAddressMissing,
        strings::kCustomLinkageUnsupported,
    };
    std::set<int> seen;
    for (int id : ids) {
        EXPECT_TRUE(LoadModuleString(id).has_value()) << "string " << id;
        EXPECT_TRUE(seen.insert(id).second) << "string " << id << " named twice";
    }
    // The names that carry a fixed meaning hold the texts the code relies on.
    EXPECT_EQ(LoadModuleString(strings::kCommandPrefix), "@");
    EXPECT_EQ(LoadModuleString(strings::kCompilerExtension), "gcc");
    EXPECT_EQ(LoadModuleString(strings::kToolchainZenta), "Dravik GNUZENTA [ELF] Toolchain");
}
