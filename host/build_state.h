// What the host remembers between builds, per configuration directory: for
// each step, what built its outputs (a hash of the option string and of the
// inputs), the files it read with their modification times (the dependency
// log), and every file it made. Steps append their start and end to a
// journal; the state file is written atomically (a new file renamed over
// the old) at the end of a build and now and then during a long one, only
// when something changed, and the journal starts afresh each time. A step
// that started and never finished is therefore never up to date.
//
// The files are data, never orders: a record that does not read costs a
// rebuild of its step, and the host deletes nothing because a record names
// it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/dependency_list.h"
#include "host/made_list.h"
#include "host/path_table.h"
#include "platform/own_file.h"

namespace quorle::host {

// FNV-1a, 64 bits: stable across runs and platforms.
uint64_t HashText(std::string_view text);

// The same hash of texts fed in pieces, so a long text need not be built.
class TextHash {
  public:
    TextHash& Add(std::string_view text) {
        for (unsigned char c : text) value_ = (value_ ^ c) * 1099511628211ull;
        return *this;
    }
    uint64_t value() const { return value_; }

  private:
    uint64_t value_ = 14695981039346656037ull;
};

struct StepRecord {
    uint64_t optionsHash = 0;
    uint64_t inputsHash = 0;
    // False when no dependency list could be had: the next build scans.
    bool depsKnown = false;
    // The step failed or was interrupted: never up to date, but what it
    // made is still known, for clean.
    bool incomplete = false;
    bool failed = false; // incomplete because its tool failed, not because it was stopped
    DependencyList deps;
    MadeList made; // files the step made, for clean
};

// What reading a state text found.
struct StateReading {
    bool known = false;  // the header is this format's
    size_t badLines = 0; // lines dropped, each costing its step a rebuild
    size_t firstBad = 0; // line number of the first, counted from 1
};

// What Load found besides the records.
struct LoadReport {
    // Steps the journal says started and never finished: their outputs may
    // be half written. Ids as StepId gives them.
    std::vector<uint64_t> unfinished;
    // One line per file that did not read whole.
    std::vector<std::string> warnings;
};

class BuildState {
  public:
    static std::string FileIn(const std::string& configDir);
    static std::string JournalIn(const std::string& configDir);
    static std::string LockIn(const std::string& configDir);
    // Every file of the configuration directory the host keeps for itself.
    static std::vector<std::string> OwnFilesIn(const std::string& configDir);
    // The id the journal names a step by.
    static uint64_t StepId(std::string_view key) { return HashText(key); }

    BuildState() = default;
    ~BuildState() = default; // no save: a state dropped unsaved is a build killed
    BuildState(const BuildState&) = delete;
    BuildState& operator=(const BuildState&) = delete;

    // Without Load, a state lives in memory only. Load reads the state of a
    // configuration directory and replays the journal a killed build left.
    // A missing state is empty; a journal that cannot be read whole may name
    // any step, so every record is dropped.
    // `numbered`: the paths a build has numbered already (those its plan
    // looked at). The state numbers its own on from them, each keeping its
    // number, so that the build holds one table of paths, not two.
    LoadReport Load(const std::string& configDir, PathTable numbered = {});
    // The state file alone, for clean.
    std::vector<std::string> LoadRecords(const std::string& configDir, PathTable numbered = {});
    // Writes the state when it changed and removes the journal.
    bool Save();
    // Writes the state and starts the journal afresh with the steps still
    // running. The build does so now and then, so a journal stays short.
    bool Checkpoint();
    // A checkpoint after `steps` finished steps, or after `interval` with
    // at least one.
    void SetCheckpointPolicy(size_t steps, std::chrono::milliseconds interval);

    const StepRecord* Find(const std::string& key) const;
    // A step starts: its record is dropped until it finishes. False when the
    // journal could not be written (the step must not run then). `mark`
    // receives the journal's modification time, which files made afterwards
    // reach.
    bool Started(const std::string& key, std::optional<int64_t>* mark = nullptr);
    void Finished(const std::string& key, StepRecord record);
    void Erase(const std::string& key);

    uint32_t PathId(std::string_view path) { return paths_.Intern(path); }
    std::string_view PathOf(uint32_t id) const { return paths_[id]; }
    size_t pathCount() const { return paths_.size(); }
    const PathTable& paths() const { return paths_; }
    size_t size() const { return records_.size(); }
    bool changed() const { return changed_; }
    // Every file any step recorded as made.
    std::vector<std::string> MadeFiles() const;
    // The keys of every record, in no particular order.
    std::vector<std::string> Keys() const;

    // The state file's text. ReadState takes any bytes and keeps the lines
    // that read; a record line that does not read drops that record only.
    StateReading ReadState(std::string_view text);
    std::string Serialise() const;

  private:
    class StateReader;
    void Replay(std::string_view text, LoadReport& report);
    bool WriteState();
    bool StartJournal();
    bool Append(const std::string& line);
    void MaybeCheckpoint();

    std::string dir_;
    std::unordered_map<std::string, StepRecord> records_;
    PathTable paths_;
    UsualTimes usual_; // of each path, as the state file's path table gives them
    std::unordered_set<uint64_t> running_; // started in this build, not finished
    platform::AppendFile journal_;
    bool journalStarted_ = false; // this build's journal exists, header written
    bool journalPending_ = false; // a journal from before still waits to be folded in
    bool changed_ = false;
    size_t finishedSince_ = 0;
    size_t checkpointSteps_ = 256;
    std::chrono::milliseconds checkpointInterval_{2000};
    std::chrono::steady_clock::time_point lastCheckpoint_ = std::chrono::steady_clock::now();
};

} // namespace quorle::host
