#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "resources/string_table.h"

using namespace quorle;

namespace {

struct Entry {
    int id;
    const char* text;
};

// The table as the C++ compiler reads string_table.inc, to compare with what
// windres made of the same file.
constexpr Entry kTable[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/string_table.inc"
#undef QUORLE_STRING
};

bool InTable(int id) {
    for (const auto& entry : kTable) {
        if (entry.id == id) return true;
    }
    return false;
}

// Every string of the current resource module against the table, and every
// number up to the last one that the table does not have as absent.
void ExpectResourcesMatchTable() {
    for (const auto& entry : kTable) {
        EXPECT_EQ(platform::LoadResourceString(entry.id), std::string(entry.text))
            << "string " << entry.id;
        EXPECT_EQ(LoadModuleString(entry.id), std::string(entry.text)) << "string " << entry.id;
    }
    for (int id = 0; id <= std::end(kTable)[-1].id + 16; ++id) {
        if (!InTable(id)) {
            EXPECT_FALSE(LoadModuleString(id).has_value()) << "string " << id;
        }
    }
}

} // namespace

TEST(StringResources, TheTestProgramsResourcesMatchTheTable) {
#if !defined(_WIN32)
    GTEST_SKIP() << "string resources exist on Windows only";
#endif
    ExpectResourcesMatchTable();
}

TEST(StringResources, ThePluginsResourcesMatchTheTable) {
#if !defined(_WIN32)
    GTEST_SKIP() << "string resources exist on Windows only";
#endif
    std::string path = QUORLE_PLUGIN_PATH;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    void* plugin = platform::LoadLibrary(path);
    ASSERT_NE(plugin, nullptr);
    void* saved = platform::CurrentResourceModule();
    platform::SetCurrentResourceModule(plugin);
    ExpectResourcesMatchTable();
    platform::SetCurrentResourceModule(saved);
    platform::FreeLibrary(plugin);
}

TEST(StringResources, LinuxReadsTheCompiledTable) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows reads resources";
#endif
    EXPECT_FALSE(platform::LoadResourceString(1).has_value());
    EXPECT_EQ(LoadModuleString(3), "4.4\n");
    EXPECT_FALSE(LoadModuleString(0).has_value());
    EXPECT_FALSE(LoadModuleString(100000).has_value());
}
