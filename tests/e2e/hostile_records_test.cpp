// A project folder received from someone else, its Debug/ folder included:
// broken records cost a rebuild and never a crash, records never make the
// host delete anything outside the plan, a plan never writes over the
// workspace or the host's records, and clean never works through a link.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/host_process.h"

namespace quorle::e2e {
namespace {

class HostileRecords : public DemoCopy {
  protected:
    void BuildOnce() {
        auto build = Host({"build"});
        ASSERT_EQ(build.exitCode, 0) << build.output;
    }
    std::string Key(const std::string& source) {
        return "GNU Compiler|" + At(source).generic_string();
    }
    // Replaces the compiler's options for C sources.
    void SetObjectPath(const std::string& path) {
        auto ws = Workspace();
        for (auto& entry : ws["projects"][0]["options"])
            if (entry.value("fileType", "") == "C source file")
                entry["value"] = "[V|VERSION|2] [S|OBJPATH|\"" + path + "\"]";
        Save(ws);
    }
};

// The reproducers of lines that crashed every later build and clean until
// the file was deleted by hand.
TEST_F(HostileRecords, StateAndJournalLinesThatCrashedTheHostCostARebuild) {
    BuildOnce();
    platform::WriteFile(At("Debug/.quorle-host-state").string(),
                        Read("Debug/.quorle-host-state") +
                            "s\tGNU Compiler|x\t1\t1\t3\t18446744073709551614\t0\t0\n",
                        false);
    auto state = Host({"build"});
    ASSERT_EQ(state.exitCode, 0) << state.output;
    EXPECT_EQ(CountOf(state.output, "\nwarning: "), 1u) << state.output;
    EXPECT_NE(state.output.find(".quorle-host-state: 1 line did not read"), std::string::npos)
        << state.output;
    EXPECT_NE(state.output.find("0 of 8 steps run"), std::string::npos) << state.output;

    platform::WriteFile(
        At("Debug/.quorle-host-journal").string(),
        "f\tGNU Compiler|/abs/src/main.c\t1\t1\t3\t9223372036854775808\t3\t1\t5\t/x\n", false);
    auto journal = Host({"build"});
    ASSERT_EQ(journal.exitCode, 0) << journal.output;
    EXPECT_EQ(CountOf(journal.output, "\nwarning: "), 1u) << journal.output;
    EXPECT_NE(journal.output.find("does not read whole; every step is rebuilt"), std::string::npos);
    EXPECT_NE(journal.output.find("8 of 8 steps run"), std::string::npos) << journal.output;
    EXPECT_FALSE(fs::exists(At("Debug/.quorle-host-journal")));

    platform::WriteFile(At("Debug/.quorle-host-journal").string(), "s\tGNU\t18446744073709551615\n",
                        false);
    auto clean = Host({"clean"});
    EXPECT_EQ(clean.exitCode, 0) << clean.output;
}

// A journal line naming a file outside the plan made the next build delete
// it.
TEST_F(HostileRecords, AJournalNamingAPathOutsideThePlanDeletesNothing) {
    BuildOnce();
    testing_support::TempDir outside("victim");
    fs::path victim = outside.Root() / "victim";
    std::ofstream(victim) << "mine\n";
    platform::WriteFile(At("Debug/.quorle-host-journal").string(),
                        "s\t" + Key("src/main.c") + "\t" + victim.string() + "\n", false);
    auto build = Host({"build"});
    ASSERT_EQ(build.exitCode, 0) << build.output;
    EXPECT_EQ(testing_support::ReadBytes(victim), "mine\n");
}

// A made list naming a file and a folder outside the project made clean
// delete both. Now the records only choose among the by-products the plan
// names; the rest is left and said once each.
TEST_F(HostileRecords, CleanDeletesOnlyWhatThePlanMakesAndReportsTheRestOnce) {
    BuildOnce();
    testing_support::TempDir outside("victims");
    fs::path file = outside.Root() / "notes.txt";
    fs::path folder = outside.Root() / "photos";
    std::ofstream(file) << "mine\n";
    fs::create_directory(folder);
    std::ofstream(folder / "a.jpg") << "jpeg\n";
    std::string state = Read("Debug/.quorle-host-state");
    // Two records name both: main.c's (the later line replaces the first)
    // and one of a step no plan has.
    for (const std::string& key : {Key("src/main.c"), std::string("GNU Compiler|/elsewhere.c")})
        state += "s\t" + key + "\t1\t1\t0\t0\t4\t" + file.string() + "\t" + folder.string() + "\t" +
                 At("Debug/main.o").generic_string() + "\t" +
                 At("Debug/main.gcc").generic_string() + "\n";
    platform::WriteFile(At("Debug/.quorle-host-state").string(), state, false);
    auto clean = Host({"clean"});
    ASSERT_EQ(clean.exitCode, 0) << clean.output;
    EXPECT_EQ(testing_support::ReadBytes(file), "mine\n");
    EXPECT_TRUE(fs::exists(folder / "a.jpg"));
    EXPECT_EQ(CountOf(clean.output, "left " + file.string() + ": only the build records name it"),
              1u)
        << clean.output;
    EXPECT_EQ(CountOf(clean.output, "left " + folder.string() + ":"), 1u) << clean.output;
    EXPECT_TRUE(fs::is_empty(At("Debug"))) << "every output and recorded by-product went";
}

// An output over the workspace file replaced it with an object; one over the
// state made the build eat its own records. A link or ".." hides neither.
TEST_F(HostileRecords, APlanThatWouldWriteOverTheWorkspaceOrTheRecordsIsRefused) {
    std::string workspace = Read("demo.qws");
    auto refused = [this](const std::string& objectPath, const std::string& over) {
        SetObjectPath(objectPath);
        std::string before = Read("demo.qws");
        auto build = Host({"build"});
        EXPECT_EQ(build.exitCode, 1) << objectPath << "\n" << build.output;
        EXPECT_TRUE(std::regex_search(build.output,
                                      std::regex("the GNU Compiler step for src/\\w+\\.c would "
                                                 "write its output .* over " +
                                                 over)))
            << objectPath << "\n"
            << build.output;
        EXPECT_EQ(Read("demo.qws"), before) << objectPath;
    };
    std::string ws = At("demo.qws").string();
    refused("$(PROJDIR)\\demo.qws", "the workspace file " + ws);
    refused("$(PROJDIR)\\src\\..\\demo.qws", "the workspace file " + ws);
    fs::create_directory_symlink(root_, At("alias"));
    refused("$(PROJDIR)\\alias\\demo.qws", "the workspace file " + ws);
    refused("$(CONFIGDIR)\\.quorle-host-state",
            "the host's build state " + At("Debug/.quorle-host-state").string());
    refused("$(CONFIGDIR)\\.quorle-host-journal", "the host's build journal");
    refused("$(PROJDIR)\\include", "a directory");
    // A link at an output's place, to a source.
    Save(nlohmann::json::parse(workspace));
    fs::create_directories(At("Debug"));
    fs::create_symlink(At("src/board.c"), At("Debug/board.o"));
    std::string board = Read("src/board.c");
    auto linked = Host({"build"});
    EXPECT_EQ(linked.exitCode, 1) << linked.output;
    EXPECT_NE(linked.output.find("output " + At("Debug/board.o").string() + " (a link to " +
                                 At("src/board.c").string() +
                                 ") over the workspace source "
                                 "src/board.c"),
              std::string::npos)
        << linked.output;
    EXPECT_EQ(Read("src/board.c"), board);
}

// Two steps writing one object lost one of them without a word.
TEST_F(HostileRecords, TwoStepsWritingOneOutputAreRefused) {
    SetObjectPath("$(CONFIGDIR)\\all.o");
    auto build = Host({"build"});
    EXPECT_EQ(build.exitCode, 1) << build.output;
    EXPECT_TRUE(std::regex_search(
        build.output, std::regex("the GNU Compiler step for src/\\w+\\.c and the GNU "
                                 "Compiler step for src/\\w+\\.c would both write .*all\\.o")))
        << build.output;
}

// clean made files and folders outside the project writable: it changed
// modes through the links it found at its outputs' places.
TEST_F(HostileRecords, CleanRemovesALinkAsItselfAndChangesNoModeThroughIt) {
    BuildOnce();
    testing_support::TempDir outside("linked");
    fs::path file = outside.Root() / "firmware.bin";
    fs::path folder = outside.Root() / "kept";
    std::ofstream(file) << "mine\n";
    fs::create_directory(folder);
    std::ofstream(folder / "inside") << "x\n";
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    fs::perms fileMode = fs::status(file).permissions();
    fs::perms folderMode = fs::status(folder).permissions();
    fs::remove(At("Debug/demo.x"));
    fs::create_symlink(file, At("Debug/demo.x"));
    fs::remove_all(At("Debug/libdemo.libgen"));
    fs::create_directory_symlink(folder, At("Debug/libdemo.libgen"));
    auto clean = Host({"clean"});
    ASSERT_EQ(clean.exitCode, 0) << clean.output;
    EXPECT_EQ(fs::status(file).permissions(), fileMode);
    EXPECT_EQ(fs::status(folder).permissions(), folderMode);
    EXPECT_EQ(testing_support::ReadBytes(file), "mine\n");
    EXPECT_TRUE(fs::exists(folder / "inside"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(At("Debug/demo.x"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(At("Debug/libdemo.libgen"))));
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
}

} // namespace
} // namespace quorle::e2e
