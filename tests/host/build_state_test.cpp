// The build state and its journal as files someone else may have written:
// records survive a save, a killed build's unfinished steps are named by id,
// a record that does not read costs only its own step, a journal that
// cannot be read whole is never ignored and stays small, and neither file
// is written through a link.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "host/build_state.h"
#include "host/journal.h"
#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::host {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;

constexpr const char* kKeyA = "GNU Compiler|/p/a.c";
constexpr const char* kKeyB = "GNU Compiler|/p/b.c";

StepRecord RecordOf(BuildState& state, const std::string& source, int64_t time,
                    int64_t headerTime = 200) {
    StepRecord record;
    record.optionsHash = HashText("[B|DEBUG|1]");
    record.inputsHash = HashText(source + "|C source file\n");
    record.depsKnown = true;
    record.deps.push_back({state.PathId(source), time});
    record.deps.push_back({state.PathId("/p/my dir/a.h"), headerTime});
    record.made = {"/p/Debug/x.o", "/p/Debug/x.gcc"};
    return record;
}

void Append(const std::string& path, const std::string& text) {
    std::ofstream(fs::u8path(path), std::ios::binary | std::ios::app) << text;
}

class BuildStateFiles : public ::testing::Test {
  protected:
    // A saved state of two steps, a.c and b.c.
    void SaveTwoSteps() {
        BuildState state;
        state.Load(dir_);
        for (const char* key : {kKeyA, kKeyB}) {
            ASSERT_TRUE(state.Started(key));
            state.Finished(key, RecordOf(state, std::string(key).substr(13), 100));
        }
        ASSERT_TRUE(state.Save());
    }

    testing_support::TempDir temp_{"state"};
    std::string dir_ = temp_.Root().generic_string();
    std::string stateFile_ = BuildState::FileIn(dir_);
    std::string journal_ = BuildState::JournalIn(dir_);
};

// A build hands the state the paths its plan numbered: the state reads its
// records against them, keeps each number, and writes what a state that
// numbered its paths alone writes. An unreadable state keeps them too.
TEST_F(BuildStateFiles, PathsNumberedBeforeTheLoadKeepTheirNumbers) {
    SaveTwoSteps();
    std::string alone = ReadBytes(stateFile_);
    PathTable planned;
    planned.Intern("/p/Debug/b.o"); // a path no record has
    planned.Intern("/p/my dir/a.h");
    planned.Intern("/p/a.c");
    const void* identity = planned.identity();
    BuildState state;
    EXPECT_TRUE(state.Load(dir_, std::move(planned)).warnings.empty());
    EXPECT_EQ(state.paths().identity(), identity);
    EXPECT_EQ(state.PathOf(0), "/p/Debug/b.o");
    const StepRecord* a = state.Find(kKeyA);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->deps.size(), 2u);
    EXPECT_EQ(a->deps[0].path, 2u);
    EXPECT_EQ(a->deps[1].path, 1u);
    EXPECT_EQ(a->deps[1].time, 200);
    EXPECT_EQ(state.PathOf(state.Find(kKeyB)->deps[0].path), "/p/b.c");
    // The same lines, perhaps in another order; a path no record has is
    // not written.
    std::string written = state.Serialise();
    EXPECT_EQ(written.size(), alone.size());
    EXPECT_EQ(written.find("/p/Debug/b.o"), std::string::npos);
    BuildState reread;
    EXPECT_TRUE(reread.ReadState(written).known);
    ASSERT_NE(reread.Find(kKeyA), nullptr);
    EXPECT_EQ(reread.PathOf(reread.Find(kKeyA)->deps[1].path), "/p/my dir/a.h");

    fs::remove(stateFile_);
    fs::create_directory(stateFile_); // exists, but no file to read
    PathTable more;
    more.Intern("/p/c.c");
    BuildState unreadable;
    EXPECT_EQ(unreadable.Load(dir_, std::move(more)).warnings.size(), 1u);
    EXPECT_EQ(unreadable.size(), 0u);
    ASSERT_EQ(unreadable.pathCount(), 1u);
    EXPECT_EQ(unreadable.PathOf(0), "/p/c.c");
}

TEST_F(BuildStateFiles, RecordsSurviveTheSaveAndAnUnfinishedStepIsNamedById) {
    {
        BuildState state;
        EXPECT_TRUE(state.Load(dir_).warnings.empty());
        std::optional<int64_t> mark;
        ASSERT_TRUE(state.Started(kKeyA, &mark));
        EXPECT_TRUE(mark.has_value());
        state.Finished(kKeyA, RecordOf(state, "/p/a.c", 100));
        // Another time for a path of the table.
        StepRecord b = RecordOf(state, "/p/b.c", 150, 250);
        b.depsKnown = false;
        b.incomplete = true;
        state.Finished(kKeyB, b);
        ASSERT_TRUE(state.Checkpoint());
        ASSERT_TRUE(state.Started("GNU Linker|"));
        // Killed here: the linker never finished.
    }
    BuildState again;
    LoadReport report = again.Load(dir_);
    EXPECT_EQ(report.unfinished, std::vector<uint64_t>{BuildState::StepId("GNU Linker|")});
    EXPECT_TRUE(report.warnings.empty());
    EXPECT_EQ(again.Find("GNU Linker|"), nullptr);
    ASSERT_NE(again.Find(kKeyA), nullptr);
    ASSERT_TRUE(again.Save());
    EXPECT_FALSE(fs::exists(journal_));

    BuildState third;
    report = third.Load(dir_);
    EXPECT_TRUE(report.unfinished.empty());
    EXPECT_FALSE(third.changed());
    EXPECT_EQ(third.size(), 2u);
    const StepRecord* a = third.Find(kKeyA);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->optionsHash, HashText("[B|DEBUG|1]"));
    EXPECT_TRUE(a->depsKnown);
    ASSERT_EQ(a->deps.size(), 2u);
    EXPECT_EQ(third.PathOf(a->deps[1].path), "/p/my dir/a.h");
    EXPECT_EQ(a->deps[1].time, 200);
    EXPECT_EQ(a->made.ToVector(), (std::vector<std::string>{"/p/Debug/x.o", "/p/Debug/x.gcc"}));
    const StepRecord* b = third.Find(kKeyB);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->depsKnown);
    EXPECT_TRUE(b->incomplete);
    EXPECT_EQ(b->deps[0].time, 150);
    EXPECT_EQ(b->deps[1].time, 250);
    EXPECT_EQ(third.Find(kKeyA)->deps[1].time, 200);
    EXPECT_EQ(third.MadeFiles().size(), 4u);
    // Nothing changed: nothing is written.
    fs::remove(stateFile_);
    EXPECT_TRUE(third.Save());
    EXPECT_FALSE(fs::exists(stateFile_));
    EXPECT_EQ(HashText(""), 14695981039346656037ull);
    EXPECT_NE(HashText("a"), HashText("b"));
    // A dependency's time is held in halves and comes back whole, sign and all.
    for (int64_t time :
         {int64_t{0}, int64_t{-1}, int64_t{1796756801180012849}, INT64_MIN, INT64_MAX})
        EXPECT_EQ(static_cast<int64_t>(Dependency{3, time}.time), time);
    // Fed in pieces, the hash is the whole text's: records stay valid.
    EXPECT_EQ(TextHash().Add("a.o").Add("|").Add("").Add("Object file\n").value(),
              HashText("a.o|Object file\n"));
}

// The lines that made every later build and clean crash: counts near the
// top of their range wrapped the bounds checks around.
TEST_F(BuildStateFiles, CountsThatWouldOverflowAreRecordsThatDoNotRead) {
    SaveTwoSteps();
    Append(stateFile_, "s\tGNU Compiler|x\t1\t1\t3\t18446744073709551614\t0\t0\n");
    Append(stateFile_, "s\tGNU Compiler|y\t1\t1\t1\t0\t18446744073709551615\t/z\n");
    BuildState state;
    LoadReport report = state.Load(dir_);
    EXPECT_EQ(state.size(), 2u) << "only the broken lines are dropped";
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("2 lines did not read (the first is line "),
              std::string::npos)
        << report.warnings[0];

    platform::WriteFile(
        journal_, "f\tGNU Compiler|/abs/src/main.c\t1\t1\t3\t9223372036854775808\t3\t1\t5\t/x\n",
        false);
    BuildState killed;
    report = killed.Load(dir_);
    EXPECT_EQ(killed.size(), 0u) << "a journal that does not read may name any step";
    EXPECT_TRUE(report.unfinished.empty());
    ASSERT_EQ(report.warnings.size(), 2u);
    EXPECT_NE(report.warnings[1].find("does not read whole; every step is rebuilt"),
              std::string::npos);
}

// Each way a line can be wrong costs that line's step only, and the next
// save writes the state clean again.
TEST_F(BuildStateFiles, ARecordThatDoesNotReadCostsOnlyItsStep) {
    const char* broken[] = {
        "s\tGNU Compiler|c\tzz\t1\t1\t0\t0\n",           // not a hash
        "s\tGNU Compiler|c\t1\t1\t8\t0\t0\n",            // flags out of range
        "s\tGNU Compiler|c\t1\t1\t5\t0\t0\n",            // failed, yet finished
        "s\tGNU Compiler|c\t1\t1\t1\t1\t99\t0\n",        // no such path
        "s\tGNU Compiler|c\t1\t1\t1\t1\t0:x\t0\n",       // a time that is no number
        "s\tGNU Compiler|c\t1\t1\t1\t0\t2\t/a\n",        // a made list cut short
        "s\tGNU Compiler|c\t1\t1\t1\t0\t1\t/a\textra\n", // more than it counts
        "s\tGNU Compiler|c\t1\t1\t1\t0\t1\t\n",          // an empty made file
        "s\t\t1\t1\t1\t0\t0\n",                          // no key
        "q\twhat\n",                                     // no such line
        "s\tGNU Compiler|c\t1\t1\t1\t0",                 // cut off in the middle
    };
    SaveTwoSteps();
    std::string good = ReadBytes(stateFile_);
    for (const char* line : broken) {
        platform::WriteFile(stateFile_, good + line, false);
        BuildState state;
        LoadReport report = state.Load(dir_);
        EXPECT_EQ(state.size(), 2u) << line;
        EXPECT_EQ(state.Find("GNU Compiler|c"), nullptr) << line;
        EXPECT_EQ(report.warnings.size(), 1u) << line;
        EXPECT_TRUE(state.changed()) << line;
    }
    // A path line that does not read drops the records that use it, and
    // no other path takes its place.
    std::string text = good;
    size_t second = text.find("\np\t", text.find("\np\t") + 1) + 1;
    text.replace(second, text.find('\n', second) - second, "p\tnot-a-time\t/p/my dir/a.h");
    platform::WriteFile(stateFile_, text, false);
    BuildState state;
    EXPECT_EQ(state.Load(dir_).warnings.size(), 1u);
    EXPECT_EQ(state.size(), 0u) << "both records name the header";
    ASSERT_TRUE(state.Save());
    BuildState clean;
    EXPECT_TRUE(clean.Load(dir_).warnings.empty());
    // Another format is not read at all.
    platform::WriteFile(stateFile_, "quorle-host state 1\n" + good.substr(good.find('\n') + 1),
                        false);
    BuildState old;
    EXPECT_EQ(old.Load(dir_).warnings.size(), 1u);
    EXPECT_EQ(old.size(), 0u);
}

// A large state comes off the disk in pieces, its lines cut anywhere between
// them: every record must read back whole, and nothing count as damaged.
TEST_F(BuildStateFiles, AStateLargerThanOneReadComesBackWhole) {
    constexpr size_t kSteps = 3000;
    auto keyOf = [](size_t i) { return "GNU Compiler|/p/src/module/f" + std::to_string(i) + ".c"; };
    {
        BuildState state;
        state.Load(dir_);
        for (size_t i = 0; i < kSteps; ++i) {
            std::string key = keyOf(i);
            ASSERT_TRUE(state.Started(key));
            StepRecord record = RecordOf(state, key.substr(13), static_cast<int64_t>(i));
            record.deps.push_back({state.PathId("/p/include/h" + std::to_string(i % 300) + ".h"),
                                   static_cast<int64_t>(1000 + i % 7)});
            record.made = {"/p/Debug/f" + std::to_string(i) + ".o"};
            state.Finished(key, std::move(record));
        }
        ASSERT_TRUE(state.Save());
    }
    ASSERT_GT(ReadBytes(stateFile_).size(), 3u * 65536u);
    BuildState state;
    EXPECT_TRUE(state.Load(dir_).warnings.empty());
    EXPECT_FALSE(state.changed());
    ASSERT_EQ(state.size(), kSteps);
    for (size_t i = 0; i < kSteps; ++i) {
        const StepRecord* record = state.Find(keyOf(i));
        ASSERT_NE(record, nullptr) << i;
        ASSERT_EQ(record->deps.size(), 3u);
        EXPECT_EQ(state.PathOf(record->deps[0].path), keyOf(i).substr(13));
        EXPECT_EQ(int64_t{record->deps[0].time}, static_cast<int64_t>(i));
        EXPECT_EQ(state.PathOf(record->deps[2].path),
                  "/p/include/h" + std::to_string(i % 300) + ".h");
        EXPECT_EQ(int64_t{record->deps[2].time}, static_cast<int64_t>(1000 + i % 7));
        EXPECT_EQ(record->made.ToVector(),
                  std::vector<std::string>{"/p/Debug/f" + std::to_string(i) + ".o"});
    }
    // One path per file named, however many records name it.
    EXPECT_EQ(state.pathCount(), kSteps + 1 + 300);
}

TEST(Journal, StartsAndEndsAreIdsAndAnythingElseNamesEveryStep) {
    std::string text = std::string(kJournalHeader) + "\n" + JournalLine('s', 0x0123456789abcdefu) +
                       JournalLine('f', 0x0123456789abcdefu) + JournalLine('s', 42);
    EXPECT_EQ(JournalLine('s', 42), "s\t000000000000002a\n");
    JournalReading reading = ReadJournal(text);
    ASSERT_TRUE(reading.whole);
    ASSERT_EQ(reading.events.size(), 3u);
    EXPECT_EQ(reading.events[1].kind, 'f');
    EXPECT_EQ(reading.events[1].id, 0x0123456789abcdefu);
    EXPECT_EQ(reading.events[2].id, 42u);
    EXPECT_TRUE(ReadJournal("").whole) << "created, never written";
    for (const std::string& bad : std::vector<std::string>{
             text.substr(0, text.size() - 1),                      // the last line cut short
             text + "s\t12\n",                                     // a short id
             text + "e\t000000000000002a\n",                       // no such entry
             text + "s\t00000000000000zz\n",                       // not hexadecimal
             text + "s\t000000000000002A\n",                       // upper case, not as written
             std::string("s\tGNU Compiler|/p/a.c\t/tmp/victim\n"), // the old form, paths and all
             std::string("quorle-host journal 2\n") + JournalLine('s', 1), // another format
         }) {
        JournalReading broken = ReadJournal(bad);
        EXPECT_FALSE(broken.whole) << bad;
        EXPECT_TRUE(broken.events.empty()) << bad;
    }
}

// A journal too large to read was skipped, so a killed build's half-written
// output counted as up to date. Whatever cannot be read whole may name any
// step: every record goes.
TEST_F(BuildStateFiles, AJournalThatCannotBeReadWholeIsNeverIgnored) {
    SaveTwoSteps();
    { std::ofstream(journal_) << kJournalHeader << "\n"; }
    fs::resize_file(journal_, (uintmax_t{64} << 20) + 1); // sparse: nothing is written
    BuildState state;
    LoadReport report = state.Load(dir_);
    EXPECT_EQ(state.size(), 0u);
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("cannot be read whole"), std::string::npos);
    // The verdict lasts: the next state holds no record, and the journal is
    // started afresh by the first step.
    ASSERT_TRUE(state.Started(kKeyA));
    EXPECT_LT(fs::file_size(journal_), 64u);
    ASSERT_TRUE(state.Save());
    BuildState next;
    EXPECT_TRUE(next.Load(dir_).warnings.empty());
    EXPECT_EQ(next.size(), 0u);

    // A journal that is a directory cannot even be replaced: no step may
    // start then.
    SaveTwoSteps();
    fs::create_directory(journal_);
    BuildState blocked;
    EXPECT_EQ(blocked.Load(dir_).warnings.size(), 1u);
    EXPECT_EQ(blocked.size(), 0u);
    EXPECT_FALSE(blocked.Started(kKeyA));
}

// Ten thousand steps: the journal holds two short lines per step at most,
// and a build killed in the middle keeps what was checkpointed.
TEST_F(BuildStateFiles, TheJournalOfTenThousandStepsStaysSmall) {
    constexpr int kSteps = 10000;
    auto key = [](int i) { return "GNU Compiler|/p/src/f" + std::to_string(i) + ".c"; };
    {
        BuildState state;
        state.Load(dir_);
        state.SetCheckpointPolicy(size_t(-1), std::chrono::hours(1)); // never before the end
        for (int i = 0; i < kSteps; ++i) {
            ASSERT_TRUE(state.Started(key(i)));
            state.Finished(key(i), RecordOf(state, "/p/src/f" + std::to_string(i) + ".c", i));
        }
        EXPECT_LE(fs::file_size(journal_), size_t(kSteps) * 2 * 19 + 32);
        ASSERT_TRUE(state.Save());
    }
    {
        BuildState state;
        state.Load(dir_);
        state.SetCheckpointPolicy(256, std::chrono::hours(1));
        for (int i = 0; i < kSteps; ++i) {
            ASSERT_TRUE(state.Started(key(i)));
            if (i == kSteps / 2) break; // killed while this one runs
            state.Finished(key(i), RecordOf(state, "/p/src/f" + std::to_string(i) + ".c", i + 1));
            EXPECT_LE(fs::file_size(journal_), 256u * 2 * 19 + 64) << i;
        }
    }
    BuildState after;
    LoadReport report = after.Load(dir_);
    EXPECT_TRUE(report.warnings.empty());
    EXPECT_EQ(report.unfinished, std::vector<uint64_t>{BuildState::StepId(key(kSteps / 2))});
    EXPECT_EQ(after.Find(key(kSteps / 2)), nullptr);
    // Finished and checkpointed: the new record; finished since: out of
    // date; never started: the record of the build before.
    ASSERT_NE(after.Find(key(0)), nullptr);
    EXPECT_EQ(after.Find(key(0))->deps[0].time, 1);
    EXPECT_EQ(after.Find(key(kSteps / 2 - 1)), nullptr);
    ASSERT_NE(after.Find(key(kSteps - 1)), nullptr);
    EXPECT_EQ(after.Find(key(kSteps - 1))->deps[0].time, kSteps - 1);
    EXPECT_GE(after.size(), size_t(kSteps) - 256);
}

// A folder received from someone else may hold links where the host keeps
// its files; none of them sends a write elsewhere.
TEST_F(BuildStateFiles, NoRecordIsWrittenThroughALink) {
    testing_support::TempDir outside("outside");
    fs::path victim = outside.Root() / "victim";
    std::ofstream(victim) << "keep\n";
    fs::create_symlink(victim, journal_);
    fs::create_symlink(victim, stateFile_ + ".new");
    BuildState state;
    state.Load(dir_);
    ASSERT_TRUE(state.Started(kKeyA));
    state.Finished(kKeyA, RecordOf(state, "/p/a.c", 1));
    ASSERT_TRUE(state.Checkpoint());
    ASSERT_TRUE(state.Save());
    EXPECT_EQ(ReadBytes(victim), "keep\n");
    EXPECT_FALSE(fs::is_symlink(stateFile_));
    EXPECT_FALSE(fs::exists(fs::symlink_status(journal_)));
}

} // namespace
} // namespace quorle::host
