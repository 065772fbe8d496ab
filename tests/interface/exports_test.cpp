#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interface/quorle.h"
#include "platform/platform.h"

using namespace quorle;

namespace {

// The plug-in built alongside this test, loaded as the IDE loads it.
class LoadedPlugin : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string path = QUORLE_PLUGIN_PATH;
#if defined(_WIN32)
        // A path from the root of the current drive, in Windows form.
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
#endif
        library_ = platform::LoadLibrary(path);
        ASSERT_NE(library_, nullptr) << path;
    }
    void TearDown() override {
        platform::FreeLibrary(library_);
    }

    template <typename Function> Function* Entry(const char* name) {
        return reinterpret_cast<Function*>(platform::GetProcAddress(library_, name));
    }

    void* library_ = nullptr;
};

constexpr const char* kEntryPoints[] = {
    "GetDLLInterfaceVersion",
    "GetDLLProductVersion",
    "GetDLLOrdinalVersion",
    "GetDLLType",
    "GetBuildPhaseInformation",
    "GetSupportedFileExtensions",
    "GetSyntaxColouringInformation",
    "GetDefaultOptions",
    "EditOptions",
    "GetFileDependencies",
    "GetInputFileTypes",
    "GetOutputFileTypes",
    "GetEditOptionsSecondaryFileTypes",
    "GetOutputFiles",
    "PrePhase",
    "PostPhase",
    "GetInformationForDisplay",
    "ConvertOptionsForCommandLineDisplay",
    "GetOutputLineInfo",
    "GetCodeNavigationItems",
    "GenerateMakefileCommand",
    "GetOptimisationMode",
    "GetOptimisationOptions",
    "GetOptimisationDependency",
    "FreeSimpleType",
    "GetStackInformationFile",
    "GetLinkerInputFiles",
};

} // namespace

TEST_F(LoadedPlugin, ExportsEveryEntryPointByItsPlainName) {
    static_assert(std::size(kEntryPoints) == 27);
    for (const char* name : kEntryPoints) {
        EXPECT_NE(platform::GetProcAddress(library_, name), nullptr) << name;
    }
    // Internals stay hidden.
    EXPECT_EQ(platform::GetProcAddress(library_, "LoadModuleString"), nullptr);
    EXPECT_EQ(platform::GetProcAddress(library_, "_Z16LoadModuleStringi"), nullptr);
}

TEST_F(LoadedPlugin, VersionQueriesAnswerFromTheModulesStrings) {
    uint32_t major = 0, minor = 0, ordinal = 0;
    ASSERT_EQ(Entry<decltype(GetDLLInterfaceVersion)>("GetDLLInterfaceVersion")(&major, &minor), 0);
    EXPECT_EQ(major, 6u);
    EXPECT_EQ(minor, 3u);
    ASSERT_EQ(Entry<decltype(GetDLLOrdinalVersion)>("GetDLLOrdinalVersion")(&ordinal), 0);
    EXPECT_EQ(ordinal, 77u);

    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    int32_t length = 3;
    auto product = Entry<decltype(GetDLLProductVersion)>("GetDLLProductVersion");
    EXPECT_EQ(product(buffer, &length), 1);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(product(buffer, &length), 0);
    EXPECT_EQ(std::string(buffer, 5), std::string("4.4\0x", 5));

    length = sizeof buffer;
    ASSERT_EQ(Entry<decltype(GetDLLType)>("GetDLLType")(buffer, &length), 0);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(length)), std::string("Build Phase\0", 12));

    length = sizeof buffer;
    auto navigation = Entry<decltype(GetCodeNavigationItems)>("GetCodeNavigationItems");
    ASSERT_EQ(navigation("ignored", buffer, &length), 0);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(length)),
              std::string("ANSI C Functions\0\0", 18));
    EXPECT_EQ(navigation(nullptr, buffer, &length), 1);

    Entry<decltype(FreeSimpleType)>("FreeSimpleType")(nullptr);
}
