// The script grammar of the category pages through EditOptions: list
// editors, buttons and the section editor, with refusals and errors; the
// preview after every change; placeholders in the list editors.
#include <gtest/gtest.h>

#include "models/compiler_model.h"
#include "page_fixture.h"
#include "script_run.h"
#include "sheet/placeholders.h"
#include "support/temp_dir.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

HostRecordsFixture CompilerAndLinker() {
    return HostRecordsFixture({{"GNU Compiler",
                                {"[S|INCDIR|\"a\"|\"b\"] [S|DEFINES|X]"},
                                {{"demo", {"Debug"}, {{"main.c", "C source file", {0}}}}}},
                               {"OptLinker", {""}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}}});
}

} // namespace

TEST(ScriptPages, ListEditorsButtonsAndSectionsThroughEditOptions) {
    HostRecordsFixture host = CompilerAndLinker();
    testing_support::TempDir workspaceDir("script_pages_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("script_pages");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "select\tGNU Compiler\tdemo\tmain.c\n"
                      "list\tINCDIR\tadd\t$(PROJDIR)\\inc\tc\n"
                      "list\tInclude directories\tmove\tc\t1\n"
                      "list\tINCDIR\tremove\ta\n"
                      "list\tDEFINES\tmodify\tX\tX=2\n"
                      "set\tLTO\t1\n"
                      "select\tOptLinker\tdemo\n"
                      "category\tGroup map\n"
                      "press\tRestore defaults\n"
                      "section\tgroup\tadd\t.data2\tlabel\t_edata\n"
                      "section\tgroup\tadd\t.text\taddress\t0x9000\n"
                      "section\tregion\tadd\tram\t0x0\t0xFFFF\n"
                      "ok\n"),
              0);
    EXPECT_TRUE(run.Logged("category: Include"));
    EXPECT_TRUE(run.Logged("category: Group map"));
    EXPECT_TRUE(run.Logged("category: Memory"));
    EXPECT_TRUE(run.Logged("refused: 11")); // the group name is taken
    EXPECT_TRUE(run.Logged("result: 0"));
    // Every change on a tool tab sends a new preview.
    int previews = 0;
    for (const std::string& line : run.Log()) previews += line.rfind("preview: ", 0) == 0;
    EXPECT_GE(previews, 9);
    bool seen = false;
    for (const std::string& line : run.Log())
        seen =
            seen || (line.rfind("preview: ", 0) == 0 && line.find("-D X=2") != std::string::npos &&
                     line.find("-flto") != std::string::npos &&
                     line.find("-I \"c\" -I \"b\" -I \"$(PROJDIR)\\inc\"") != std::string::npos);
    EXPECT_TRUE(seen) << testing_support::ReadBytes(run.Dir() / "log.txt");
    models::CompilerModel compiler("C source file", host.NewString(0, 0, 0));
    EXPECT_EQ(compiler.incDirs_, (std::vector<std::string>{"c", "b", "$(PROJDIR)\\inc"}));
    EXPECT_EQ(compiler.defines_, (std::vector<std::string>{"X=2"}));
    models::LinkerModel linker(host.NewString(1, 1, 0));
    ASSERT_EQ(linker.layout_.groups.size(), 5u);
    EXPECT_EQ(linker.layout_.groups[2].children.at(0).name, ".data2");
    EXPECT_EQ(linker.layout_.regions.size(), 1u);
}

TEST(ScriptPages, LinesThatCannotBeCarriedOutEndTheSheet) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"list\tNOSUCH\tadd\tx\n", "error: 2: unknown list: NOSUCH\tadd\tx"},
        {"list\tINCDIR\tremove\tnot-there\n",
         "error: 2: value not allowed for list: INCDIR\tremove\tnot-there"},
        {"list\tINCDIR\tmove\ta\t0\n", "error: 2: value not allowed for list: INCDIR\tmove\ta\t0"},
        {"list\tLTO\tadd\tx\n", "error: 2: value not allowed for list: LTO\tadd\tx"},
        {"press\tNo such button\n", "error: 2: unknown button: No such button"},
        {"section\tgroup\tadd\tg\taddress\t0x10\n",
         "error: 2: unknown section command: group\tadd\tg\taddress\t0x10"},
    };
    for (const auto& [line, error] : cases) {
        HostRecordsFixture host = CompilerAndLinker();
        testing_support::TempDir workspaceDir("script_pages_ws");
        ProjectInfoFixture info(kCorvo, workspaceDir.Path());
        ScriptRun run("script_pages_errors");
        EXPECT_EQ(run.Run(host, info.Get(), "select\tGNU Compiler\tdemo\tmain.c\n" + line + "ok\n"),
                  1)
            << line;
        EXPECT_TRUE(run.Logged(error)) << testing_support::ReadBytes(run.Dir() / "log.txt");
        EXPECT_FALSE(host.HasOutput(0));
    }
}

TEST(Placeholders, OffersExpandedDisplayAndRawStorage) {
    ProjectInfoFixture fixture(kCorvo, "/ws");
    QuorleProjectInfo info = *fixture.Get();
    const char user[] = "BOARD|/boards/b1\0LIBS|/opt/libs\0";
    info.userPlaceholders = user;
    auto offers = PlaceholderOffers(&info);
    ASSERT_EQ(offers.size(), 10u);
    EXPECT_EQ(offers[0].label, "Workspace directory");
    EXPECT_EQ(offers[0].text, "$(WORKSPDIR)");
    EXPECT_EQ(offers[6].label, "Velmor installation directory");
    EXPECT_EQ(offers[6].text, "$(VELMORDIR)");
    EXPECT_EQ(offers[7].label, "Custom directory");
    EXPECT_EQ(offers[8].text, "$(BOARD)");
    EXPECT_EQ(offers[9].text, "$(LIBS)");

    SharedState shared;
    shared.info = &info;
    const std::vector<std::string> raw = {"$(BOARD)\\inc", "$(PROJDIR)\\x", "$(FILEDIR)\\y"};
    EXPECT_EQ(DisplayedEntries(raw, shared), raw); // value 2 not set
    shared.settings = 2;
    EXPECT_EQ(DisplayedEntries(raw, shared),
              (std::vector<std::string>{"/boards/b1\\inc", "/ws\\x", "$(FILEDIR)\\y"}));

    // The page stores what was typed, whatever the display shows.
    PageSets sets;
    sets.shared = shared;
    sets.Add(0, "");
    auto pages = ToolTabPages(0);
    auto& include = *dynamic_cast<CControlPage*>(pages[2].get());
    include.Load(sets.Context());
    const size_t list = *include.FindControl("INCDIR");
    EXPECT_TRUE(include.Controls()[list].pathEntries);
    ASSERT_EQ(include.ListAdd(list, offers[8].text + "\\inc"), SetOutcome::Done);
    ASSERT_TRUE(include.SaveAndValidate(SaveKind::Final));
    EXPECT_NE(sets.Texts()[0].find("[S|INCDIR|\"$(BOARD)\\inc\"]"), std::string::npos)
        << sets.Texts()[0];
}
