#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "host/edit_writeback.h"
#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

using namespace quorle::host;
using namespace quorle::host::testing;
using nlohmann::ordered_json;

namespace {

int g_freed = 0;
void QUORLE_CALL CountingFree(void* block) {
    ++g_freed;
    std::free(block);
}

bool Is(const EditItem& item, const std::string& file, const std::string& type = "") {
    return item.file == file && (type.empty() || item.fileType == type);
}

struct Result {
    std::unique_ptr<EditRecords> records;
    EditOutcome outcome;
};

// Opens the records on the fixture, lets the fake sheet apply `edit`, and
// reads and applies the result.
Result RunEdit(const Workspace& ws, const EditCatalogue& catalogue, const Edit& edit) {
    Result r;
    r.records = EditRecords::Build(ws, {0, 1}, catalogue);
    FakeSheetOk(*r.records, edit);
    std::string error;
    EXPECT_TRUE(r.records->ReadResult(error)) << error;
    r.records->FreeResult(CountingFree);
    r.outcome = ApplyEdit(ws, r.records->items(), catalogue);
    return r;
}

// The property every write-back must have: with the new entries, each item
// in each configuration resolves to exactly the string the sheet gave it.
void ExpectResolvesToResult(const Workspace& ws, const EditCatalogue& catalogue, const Result& r) {
    for (const EditItem& item : r.records->items()) {
        Project project = ws.projects[item.project];
        project.options = r.outcome.projects[item.project].entries;
        for (size_t c = 0; c < item.configs.size(); ++c)
            EXPECT_EQ(ResolveOptions(project, catalogue, catalogue.phases[item.phase].name,
                                     item.configs[c], item.fileType, item.file),
                      item.after[c])
                << item.file << " " << item.fileType << " " << item.configs[c];
    }
}

std::vector<OptionEntry> OwnEntries(const Result& r, const std::string& file) {
    std::vector<OptionEntry> own;
    for (const OptionEntry& e : r.outcome.projects[0].entries)
        if (e.file == file) own.push_back(e);
    return own;
}

} // namespace

TEST(EditWriteBack, AnOkWithoutChangeRewritesNothing) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    g_freed = 0;
    Result r = RunEdit(ws, catalogue, [](const EditItem&, size_t) { return std::nullopt; });
    EXPECT_TRUE(r.outcome.changes.empty());
    EXPECT_FALSE(r.outcome.AnyRewritten());
    // Every string and every array went back through the plug-in's free.
    size_t strings = 0;
    for (size_t p = 0; p < 4; ++p) strings += r.records->Inputs(p).size();
    EXPECT_EQ(g_freed, static_cast<int>(strings + 4));
    for (size_t p = 0; r.records->Records()[p]; ++p)
        EXPECT_EQ(r.records->Records()[p]->newOptions, nullptr);
}

TEST(EditWriteBack, OneFileInOneConfigurationGetsOneEntryOfItsOwn) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    Result r = RunEdit(ws, catalogue, [](const EditItem& item, size_t c) {
        return Is(item, "src/a.c") && item.configs[c] == "DEBUG"
                   ? std::optional<std::string>("[C|DBG] [B|SKIPDEPENDENCY|1]")
                   : std::nullopt;
    });
    ASSERT_EQ(r.outcome.changes.size(), 1u);
    const OptionChange& change = r.outcome.changes[0];
    EXPECT_EQ(change.project, "app");
    EXPECT_EQ(change.config, "DEBUG");
    EXPECT_EQ(change.phase, "GNU Compiler");
    EXPECT_EQ(change.item, "src/a.c");
    EXPECT_EQ(DescribeChange(change.before, change.after),
              (std::vector<std::string>{"SKIPDEPENDENCY: (none) -> 1"}));
    ExpectResolvesToResult(ws, catalogue, r);

    const EditedEntries& app = r.outcome.projects[0];
    ASSERT_EQ(app.entries.size(), 5u);
    EXPECT_EQ(app.origin, (std::vector<int>{0, 1, 2, 3, -1}));
    EXPECT_FALSE(r.outcome.projects[1].rewritten);

    std::string error;
    auto text = RenderWorkspace(kWorkspaceText, r.outcome, error);
    ASSERT_TRUE(text) << error;
    ordered_json before = ordered_json::parse(kWorkspaceText);
    ordered_json after = ordered_json::parse(*text);
    ordered_json& options = after["projects"][0]["options"];
    ASSERT_EQ(options.size(), 5u);
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(options[k], before["projects"][0]["options"][k]);
    EXPECT_EQ(options[4].dump(), R"({"phase":"GNU Compiler","file":"src/a.c","config":"DEBUG",)"
                                 R"("value":"[C|DBG] [B|SKIPDEPENDENCY|1]"})");
    after["projects"][0]["options"].erase(4);
    EXPECT_EQ(after, before) << "nothing else of the workspace changes";
}

TEST(EditWriteBack, AFileTypeChangeReplacesItsEntryAndFilesFollowWithoutOwnEntries) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    // The C type and every C file sharing its DEBUG string change together.
    Result r =
        RunEdit(ws, catalogue, [](const EditItem& item, size_t c) -> std::optional<std::string> {
            bool follows = Is(item, "", "C source file") || Is(item, "src/a.c") || Is(item, "x.c");
            if (follows && item.project == 0 && item.configs[c] == "DEBUG") return "[C|DBG2]";
            return std::nullopt;
        });
    EXPECT_EQ(r.outcome.changes.size(), 2u);
    ExpectResolvesToResult(ws, catalogue, r);
    const EditedEntries& app = r.outcome.projects[0];
    ASSERT_EQ(app.entries.size(), 4u);
    EXPECT_EQ(app.entries[0].value, "[C|DBG2]");
    EXPECT_EQ(app.entries[0].config, "DEBUG");
    EXPECT_EQ(app.entries[0].phase, "Compiler") << "the replaced entry's phase text is kept";
    EXPECT_EQ(app.origin, (std::vector<int>{-1, 1, 2, 3}));
    EXPECT_TRUE(OwnEntries(r, "src/a.c").empty());
}

TEST(EditWriteBack, AFileBackToItsTypesStringLosesItsOwnEntry) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    Result r =
        RunEdit(ws, catalogue, [](const EditItem& item, size_t c) -> std::optional<std::string> {
            if (Is(item, "src/b.c") && item.configs[c] == "RELEASE") return "[C|REL]";
            return std::nullopt;
        });
    ExpectResolvesToResult(ws, catalogue, r);
    auto own = OwnEntries(r, "src/b.c");
    ASSERT_EQ(own.size(), 1u) << "the all-configurations entry splits; RELEASE needs none";
    EXPECT_EQ(own[0].config, "DEBUG");
    EXPECT_EQ(own[0].value, "[B|ALL]");

    Result back =
        RunEdit(ws, catalogue, [](const EditItem& item, size_t c) -> std::optional<std::string> {
            if (Is(item, "src/b.c")) return item.configs[c] == "DEBUG" ? "[C|DBG]" : "[C|REL]";
            return std::nullopt;
        });
    ExpectResolvesToResult(ws, catalogue, back);
    EXPECT_TRUE(OwnEntries(back, "src/b.c").empty());
}

TEST(EditWriteBack, TheSameNewStringInEveryConfigurationIsOneEntry) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    Result r =
        RunEdit(ws, catalogue, [](const EditItem& item, size_t) -> std::optional<std::string> {
            if (Is(item, "src/c.cpp")) return "[CPP|NEW]";
            if (item.kind == EditItemKind::Project && item.phase == 3 && item.project == 0)
                return "[L|BOTH]";
            return std::nullopt;
        });
    ExpectResolvesToResult(ws, catalogue, r);
    auto own = OwnEntries(r, "src/c.cpp");
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].config, "");
    size_t linkerEntries = 0;
    for (const OptionEntry& e : r.outcome.projects[0].entries)
        if (PhaseMatches(e.phase, "GNU Linker")) {
            ++linkerEntries;
            EXPECT_EQ(e.config, "");
            EXPECT_EQ(e.value, "[L|BOTH]");
            EXPECT_EQ(e.phase, "Linker");
        }
    EXPECT_EQ(linkerEntries, 1u);
}

// Many mixed edits at once, including the project without entries.
TEST(EditWriteBack, EveryItemResolvesToItsNewStringAfterMixedEdits) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    for (int pattern = 0; pattern < 6; ++pattern) {
        Result r = RunEdit(
            ws, catalogue, [pattern](const EditItem& item, size_t c) -> std::optional<std::string> {
                size_t key = item.phase * 7 + item.project * 5 + c * 3 + item.file.size() +
                             item.fileType.size();
                if ((key + static_cast<size_t>(pattern)) % 3 != 0) return std::nullopt;
                return "[P|" + std::to_string(pattern % 2) + "|" + std::to_string(c) + "]";
            });
        EXPECT_TRUE(r.outcome.AnyRewritten()) << pattern;
        ExpectResolvesToResult(ws, catalogue, r);
    }
}

TEST(EditWriteBack, UnusableResultsAreRefused) {
    Workspace ws = LoadFixture();
    EditCatalogue catalogue = FixtureCatalogue();
    {
        auto records = EditRecords::Build(ws, {0}, catalogue);
        FakeSheetOk(*records, [](const EditItem&, size_t) { return std::nullopt; });
        records->Records()[1]->projects[0]->files[3]->slotB[1] = 99;
        std::string error;
        EXPECT_FALSE(records->ReadResult(error));
        EXPECT_NE(error.find("src/b.c"), std::string::npos) << error;
        records->FreeResult(CountingFree);
    }
    {
        auto records = EditRecords::Build(ws, {0}, catalogue);
        std::string error;
        EXPECT_FALSE(records->ReadResult(error)) << "no output lists at all";
        EXPECT_NE(error.find("GNU Library Generator"), std::string::npos) << error;
        g_freed = 0;
        records->FreeResult(CountingFree);
        EXPECT_EQ(g_freed, 0);
    }
}

TEST(EditWriteBack, TheFileIsReplacedOnlyWhenItIsStillAsRead) {
    quorle::testing_support::TempDir temp("quorle-edit_write");
    auto dir = temp.Root();
    std::string path = (dir / "w.qws").string();
    ASSERT_TRUE(quorle::platform::WriteFile(path, "old", false));
    std::string error;
    EXPECT_EQ(WriteWorkspaceIfUnchanged(path, "old", "new", error), WriteOutcome::Written);
    EXPECT_EQ(quorle::testing_support::ReadBytes(path), "new");

    ASSERT_TRUE(quorle::platform::WriteFile(path, "changed meanwhile", false));
    EXPECT_EQ(WriteWorkspaceIfUnchanged(path, "new", "newer", error), WriteOutcome::ChangedOnDisk);
    EXPECT_NE(error.find("changed on disk"), std::string::npos);
    EXPECT_EQ(quorle::testing_support::ReadBytes(path), "changed meanwhile");

    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary file is left behind";
}

TEST(EditWriteBack, DescribeChangeNamesEachKeyWithItsOldAndNewValue) {
    EXPECT_EQ(DescribeChange("[B|OPTIMIZE|1] [S|X|\"a b\"] [B|DEBUG|1] [B|LTO|1]",
                             "[B|OPTIMIZE|1] [B|DEBUG|0] [S|X|\"a c\"] [I|OPTLV|3]"),
              (std::vector<std::string>{"DEBUG: 1 -> 0", "LTO: 1 -> (none)", "OPTLV: (none) -> 3",
                                        "X: \"a b\" -> \"a c\""}));
    // Order alone is no change, and a list key keeps its values in order.
    EXPECT_TRUE(DescribeChange("[A|K|1] [B|L|2]", "[B|L|2] [A|K|1]").empty());
    EXPECT_EQ(DescribeChange("[S|D|a] [S|D|b]", "[S|D|b] [S|D|a]"),
              (std::vector<std::string>{"D: a b -> b a"}));
}

#if !defined(_WIN32)
// The write-back replaces the workspace's bytes, never what the user made of
// the file: a link, its permissions, its protection.
TEST(EditWriteBack, ALinkedWorkspaceGetsTheEditInItsTargetAndStaysALink) {
    namespace fs = std::filesystem;
    quorle::testing_support::TempDir temp("quorle-edit_link");
    fs::path real = temp.Root() / "real" / "w.qws";
    fs::create_directories(real.parent_path());
    ASSERT_TRUE(quorle::platform::WriteFile(real.string(), "old", false));
    fs::path link = temp.Root() / "link.qws";
    fs::create_symlink(fs::path("real") / "w.qws", link);

    std::string error;
    ASSERT_EQ(WriteWorkspaceIfUnchanged(link.string(), "old", "new", error), WriteOutcome::Written)
        << error;
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(fs::read_symlink(link), fs::path("real") / "w.qws");
    EXPECT_EQ(quorle::testing_support::ReadBytes(real), "new");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(real.parent_path())) ++entries;
    EXPECT_EQ(entries, 1u) << "the temporary file goes beside the target, and away";
}

TEST(EditWriteBack, TheModeIsKeptAndAReadOnlyWorkspaceIsRefused) {
    namespace fs = std::filesystem;
    quorle::testing_support::TempDir temp("quorle-edit_mode");
    std::string path = (temp.Root() / "w.qws").string();
    ASSERT_TRUE(quorle::platform::WriteFile(path, "old", false));
    std::string error;
    for (fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                           fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::group_write}) {
        fs::permissions(path, mode);
        std::string before = quorle::testing_support::ReadBytes(path);
        ASSERT_EQ(WriteWorkspaceIfUnchanged(path, before, before + "+", error),
                  WriteOutcome::Written)
            << error;
        EXPECT_EQ(fs::status(path).permissions(), mode);
    }
    EXPECT_EQ(quorle::testing_support::ReadBytes(path), "old++");

    // Even where the user could replace it (root, or a writable folder), a
    // file without write permission is not theirs to change.
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(path, readOnly);
    EXPECT_EQ(WriteWorkspaceIfUnchanged(path, "old++", "new", error), WriteOutcome::ReadOnly);
    EXPECT_NE(error.find(path + " is read-only"), std::string::npos) << error;
    EXPECT_EQ(quorle::testing_support::ReadBytes(path), "old++");
    EXPECT_EQ(fs::status(path).permissions(), readOnly);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(temp.Root())) ++entries;
    EXPECT_EQ(entries, 1u);
}
#endif
