#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "edit_fixture.h"

using namespace quorle::host;
using namespace quorle::host::testing;

namespace {

struct FileView {
    std::string path;
    std::string type; // "(null)" for a record without one
    std::vector<std::string> strings;
};

// What the plug-in would read from one project entry of one phase record.
std::vector<FileView> Files(const QuorlePhaseRecord& phase, size_t project) {
    std::vector<FileView> files;
    QuorleProjectEntry* entry = phase.projects[project];
    size_t configs = 0;
    while (entry->configs[configs] != nullptr) ++configs;
    for (QuorleFileRecord* const* f = entry->files; *f; ++f) {
        EXPECT_EQ((*f)->size, sizeof(QuorleFileRecord));
        FileView view{(*f)->path, (*f)->fileType ? (*f)->fileType : "(null)", {}};
        for (size_t c = 0; c < configs; ++c) {
            view.strings.push_back(phase.options[(*f)->optionIndex[c]]);
            EXPECT_EQ((*f)->slotA[c], -1);
            EXPECT_EQ((*f)->slotB[c], -1);
        }
        files.push_back(view);
    }
    return files;
}

} // namespace

TEST(EditRecords, HoldEveryPhaseProjectConfigurationFileAndFileTypeDefault) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    auto records = EditRecords::Build(ws, {0, 1}, catalogue);
    QuorlePhaseRecord* const* list = records->Records();

    std::vector<std::string> names;
    for (size_t p = 0; list[p] != nullptr; ++p) {
        EXPECT_EQ(list[p]->size, sizeof(QuorlePhaseRecord));
        EXPECT_EQ(list[p]->newOptions, nullptr);
        names.push_back(list[p]->phase);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"GNU Library Generator", "GNU Compiler",
                                               "GNU Assembler", "GNU Linker"}));

    const QuorlePhaseRecord& compiler = *list[1];
    ASSERT_NE(compiler.projects[0], nullptr);
    ASSERT_NE(compiler.projects[1], nullptr);
    EXPECT_EQ(compiler.projects[2], nullptr);
    const QuorleProjectEntry& app = *compiler.projects[0];
    EXPECT_EQ(app.size, sizeof(QuorleProjectEntry));
    EXPECT_STREQ(app.name, "app");
    EXPECT_STREQ(app.dir, "/ws/app");
    ASSERT_NE(app.configs[1], nullptr);
    EXPECT_EQ(app.configs[2], nullptr);
    EXPECT_EQ(app.configs[0]->size, sizeof(QuorleConfigRecord));
    EXPECT_STREQ(app.configs[0]->name, "DEBUG");
    EXPECT_STREQ(app.configs[1]->dir, "Release");

    // Type defaults first, then the files the phase takes, each once; a file
    // entry beats a type entry, which beats the plug-in's default.
    auto files = Files(compiler, 0);
    ASSERT_EQ(files.size(), 5u);
    EXPECT_EQ(files[0].path, "default options");
    EXPECT_EQ(files[0].type, "C source file");
    EXPECT_EQ(files[0].strings, (std::vector<std::string>{"[C|DBG]", "[C|REL]"}));
    EXPECT_EQ(files[1].path, "default options");
    EXPECT_EQ(files[1].type, "C++ source file");
    EXPECT_EQ(files[1].strings[1], "[def|GNU Compiler|RELEASE|C++ source file]");
    EXPECT_EQ(files[2].path, "src/a.c");
    EXPECT_EQ(files[2].strings, files[0].strings);
    EXPECT_EQ(files[3].path, "src/b.c");
    EXPECT_EQ(files[3].strings, (std::vector<std::string>{"[B|ALL]", "[B|ALL]"}));
    EXPECT_EQ(files[4].path, "src/c.cpp");
    EXPECT_EQ(files[4].type, "C++ source file");

    auto assembler = Files(*list[2], 0);
    ASSERT_EQ(assembler.size(), 2u);
    EXPECT_EQ(assembler[1].path, "src/s.s");

    // A project-wide phase: one record per project, named after it, no type.
    auto linker = Files(*list[3], 0);
    ASSERT_EQ(linker.size(), 1u);
    EXPECT_EQ(linker[0].path, "app");
    EXPECT_EQ(linker[0].type, "(null)");
    EXPECT_EQ(linker[0].strings,
              (std::vector<std::string>{"[L|DBG]", "[def|GNU Linker|RELEASE|]"}));

    // The project without configurations has the parser's one.
    auto lib = Files(compiler, 1);
    ASSERT_EQ(lib.size(), 3u);
    EXPECT_EQ(lib[2].path, "x.c");
    EXPECT_EQ(lib[2].strings, (std::vector<std::string>{"[def|GNU Compiler|DEBUG|C source file]"}));
}

TEST(EditRecords, EachPhaseListsItsDistinctStringsOnceAndIndexesThem) {
    Workspace ws = LoadFixture();
    auto records = EditRecords::Build(ws, {0, 1}, FixtureCatalogue());
    QuorlePhaseRecord* const* list = records->Records();
    for (size_t p = 0; list[p] != nullptr; ++p) {
        std::vector<std::string> inputs;
        for (const char* const* s = list[p]->options; *s; ++s) inputs.push_back(*s);
        EXPECT_EQ(inputs, records->Inputs(p));
        EXPECT_EQ(std::set<std::string>(inputs.begin(), inputs.end()).size(), inputs.size());
    }
    // Items carry the same strings the indices point at.
    size_t i = 0;
    for (size_t p = 0; list[p] != nullptr; ++p)
        for (QuorleProjectEntry* const* e = list[p]->projects; *e; ++e)
            for (QuorleFileRecord* const* f = (*e)->files; *f; ++f, ++i) {
                const EditItem& item = records->items()[i];
                EXPECT_EQ(item.phase, p);
                for (size_t c = 0; c < item.configs.size(); ++c)
                    EXPECT_EQ(item.before[c], list[p]->options[(*f)->optionIndex[c]]);
            }
    EXPECT_EQ(i, records->items().size());
    // "[C|DBG]" is shared by the C type default and src/a.c: listed once.
    EXPECT_EQ(std::count(records->Inputs(1).begin(), records->Inputs(1).end(), "[C|DBG]"), 1);
}

TEST(EditRecords, AProjectSelectionLeavesTheOthersOut) {
    Workspace ws = LoadFixture();
    auto records = EditRecords::Build(ws, {1}, FixtureCatalogue());
    QuorlePhaseRecord* const* list = records->Records();
    for (size_t p = 0; list[p] != nullptr; ++p) {
        ASSERT_NE(list[p]->projects[0], nullptr);
        EXPECT_STREQ(list[p]->projects[0]->name, "lib");
        EXPECT_EQ(list[p]->projects[1], nullptr);
    }
    for (const EditItem& item : records->items()) EXPECT_EQ(item.project, 1u);
}
