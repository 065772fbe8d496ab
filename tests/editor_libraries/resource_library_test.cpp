#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "resources/sheet_strings.h"
#include "resources/string_table.h"
#include "sheet/resource_library.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

using namespace quorle;
using quorle::sheet::DirectoryPart;
using quorle::sheet::ResourceLibrary;

namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kOwn[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/string_table.inc"
#undef QUORLE_STRING
};
constexpr Entry kSheet[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/sheet_strings.inc"
#undef QUORLE_STRING
};

// The plug-in's path as a host on Windows would pass it: backslashes.
std::string WindowsStylePluginPath() {
    std::string path = QUORLE_TEST_PLUGIN_FILE;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool Known(int id) {
    auto has = [id](const auto& table) {
        return std::any_of(std::begin(table), std::end(table),
                           [id](const Entry& e) { return e.id == id; });
    };
    return has(kOwn) || has(kSheet);
}

} // namespace

TEST(ResourceLibrary, DirectoryPartKeepsTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(DirectoryPart("C:\\Velmor\\GNU\\Quorle.dll"), "C:\\Velmor\\GNU\\");
    EXPECT_EQ(DirectoryPart("/opt/q/lib/libquorle.so"), "/opt/q/lib/");
    EXPECT_EQ(DirectoryPart("C:\\a/b\\c"), "C:\\a/b\\");
    EXPECT_EQ(DirectoryPart("Quorle.dll"), "");
    EXPECT_EQ(DirectoryPart(""), "");
}

TEST(ResourceLibrary, TheTwoTablesAreAscendingAndNeverShareANumber) {
    for (size_t i = 1; i < std::size(kOwn); ++i) EXPECT_LT(kOwn[i - 1].id, kOwn[i].id);
    for (size_t i = 1; i < std::size(kSheet); ++i) EXPECT_LT(kSheet[i - 1].id, kSheet[i].id);
    EXPECT_LT(std::end(kOwn)[-1].id, kSheet[0].id);
}

// While loaded, every string comes from the library: the editor's own texts
// and the plug-in's table it also carries; numbers in neither are absent.
TEST(ResourceLibrary, AnswersEveryStringWhileCurrentAndRestoresAfterwards) {
    ASSERT_EQ(platform::CurrentResourceModule(), nullptr);
    EXPECT_FALSE(LoadModuleString(sheet_strings::kTabCpp).has_value())
        << "the editor's texts belong to the resource library only";
    {
        auto library = ResourceLibrary::Load(WindowsStylePluginPath());
        ASSERT_NE(library, nullptr);
        EXPECT_NE(platform::CurrentResourceModule(), nullptr);
        for (const Entry& e : kSheet) EXPECT_EQ(LoadModuleString(e.id), e.text) << e.id;
        for (const Entry& e : kOwn) EXPECT_EQ(LoadModuleString(e.id), e.text) << e.id;
        for (int id = 0; id < std::end(kSheet)[-1].id + 16; ++id) {
            if (!Known(id)) {
                EXPECT_FALSE(LoadModuleString(id).has_value()) << id;
            }
        }
        EXPECT_EQ(LoadModuleString(sheet_strings::kTabWarning), "Warning");
        EXPECT_EQ(LoadModuleString(sheet_strings::kDefaultOptionsSrc), "default options(src)");
        EXPECT_EQ(LoadModuleString(1527), "An option was modified.  \nIs modification enabled?");
    }
    EXPECT_EQ(platform::CurrentResourceModule(), nullptr);
    EXPECT_FALSE(LoadModuleString(sheet_strings::kTabCpp).has_value());
    EXPECT_EQ(LoadModuleString(3), "4.4\n");
}

TEST(ResourceLibrary, NestedLoadsRestoreTheOuterModule) {
    auto outer = ResourceLibrary::Load(QUORLE_TEST_PLUGIN_FILE);
    ASSERT_NE(outer, nullptr);
    void* outerModule = platform::CurrentResourceModule();
    {
        auto inner = ResourceLibrary::Load(QUORLE_TEST_PLUGIN_FILE);
        ASSERT_NE(inner, nullptr);
        EXPECT_EQ(LoadModuleString(sheet_strings::kTabCpu), "CPU");
    }
    EXPECT_EQ(platform::CurrentResourceModule(), outerModule);
    EXPECT_EQ(LoadModuleString(sheet_strings::kTabCpu), "CPU");
    outer.reset();
    EXPECT_EQ(platform::CurrentResourceModule(), nullptr);
}

TEST(ResourceLibrary, MissingLibraryGivesNullAndLeavesTheCurrentModule) {
    testing_support::TempDir temp("quorle-no_resources");
    auto dir = temp.Root();
    EXPECT_EQ(ResourceLibrary::Load((dir / "Quorle.dll").string()), nullptr);
    EXPECT_EQ(platform::CurrentResourceModule(), nullptr);

    auto outer = ResourceLibrary::Load(QUORLE_TEST_PLUGIN_FILE);
    ASSERT_NE(outer, nullptr);
    void* current = platform::CurrentResourceModule();
    EXPECT_EQ(ResourceLibrary::Load((dir / "Quorle.dll").string()), nullptr);
    EXPECT_EQ(platform::CurrentResourceModule(), current);
}

#if !defined(_WIN32)
// A current module that is not a resource library answers nothing rather
// than reading a stray symbol.
TEST(ResourceLibrary, AModuleWithoutATableAnswersNothing) {
    void* other = platform::LoadLibrary("libm.so.6");
    ASSERT_NE(other, nullptr);
    platform::SetCurrentResourceModule(other);
    EXPECT_FALSE(platform::LoadResourceString(3).has_value());
    EXPECT_FALSE(LoadModuleString(3).has_value());
    platform::SetCurrentResourceModule(nullptr);
    platform::FreeLibrary(other);
    EXPECT_EQ(LoadModuleString(3), "4.4\n");
}
#endif
