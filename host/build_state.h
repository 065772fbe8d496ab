// What the host remembers between builds, per configuration directory: for
// each step, what built its outputs (a hash of the option string and of the
// inputs), the files it read with their modification times (the dependency
// log), and every file it made. Steps append to a journal as they start and
// finish; the state file is written once per build, atomically, and only
// when something changed. A step that started and never finished is
// therefore never up to date.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorle::host {

// FNV-1a, 64 bits: stable across runs and platforms.
uint64_t HashText(const std::string& text);

struct Dependency {
    uint32_t path = 0; // index into the state's path table
    int64_t time = 0;  // modification time when the step was built
};

struct StepRecord {
    uint64_t optionsHash = 0;
    uint64_t inputsHash = 0;
    // False when no dependency list could be had: the next build scans.
    bool depsKnown = false;
    // The step failed or was interrupted: never up to date, but what it
    // made is still known, for clean.
    bool incomplete = false;
    std::vector<Dependency> deps;
    std::vector<std::string> made; // files the step made, for clean
};

class BuildState {
  public:
    static std::string FileIn(const std::string& configDir);
    static std::string JournalIn(const std::string& configDir);

    BuildState() = default;
    ~BuildState();
    BuildState(const BuildState&) = delete;
    BuildState& operator=(const BuildState&) = delete;

    // Without Load, a state lives in memory only. Load reads the state of a
    // configuration directory and replays a journal
    // that an unfinished build left. A missing or unreadable state is empty.
    // `unfinished` receives the outputs of steps that started and never
    // finished (they may be half written).
    void Load(const std::string& configDir, std::vector<std::string>* unfinished = nullptr);
    // Writes the state when it changed and removes the journal.
    bool Save();

    const StepRecord* Find(const std::string& key) const;
    // Journal entries: a step starts (its record is dropped until it
    // finishes) and finishes with its new record. `Started` returns the
    // journal's modification time, which files made afterwards reach.
    std::optional<int64_t> Started(const std::string& key, const std::vector<std::string>& outputs);
    void Finished(const std::string& key, StepRecord record);
    void Erase(const std::string& key);

    uint32_t PathId(const std::string& path);
    const std::string& PathOf(uint32_t id) const { return paths_[id]; }
    size_t pathCount() const { return paths_.size(); }
    size_t size() const { return records_.size(); }
    bool changed() const { return changed_; }
    // Every file any step recorded as made.
    std::vector<std::string> MadeFiles() const;

  private:
    bool Parse(const std::string& text);
    void Replay(const std::string& text, std::vector<std::string>* unfinished);
    std::string Serialise() const;
    std::string RecordLine(const StepRecord& record) const;
    bool ReadRecordLine(const std::string& line, StepRecord& record);
    void Append(const std::string& line);

    std::string dir_;
    std::unordered_map<std::string, StepRecord> records_;
    std::vector<std::string> paths_;
    std::unordered_map<std::string, uint32_t> pathIds_;
    std::FILE* journal_ = nullptr;
    bool changed_ = false;
};

} // namespace quorle::host
