#include "host/build_state.h"
#include "host/state_reader.h"

#include <algorithm>
#include <filesystem>

#include "host/journal.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

// Something stands at the path, whatever it is (a dangling link too).
bool Present(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(fs::u8path(path), ec).type() != fs::file_type::not_found && !ec;
}

// Removes a plain entry of the host's own; a link goes as itself.
void RemoveOwn(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(fs::u8path(path), ec)))
        fs::remove(fs::u8path(path), ec);
}

std::string Plural(size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

} // namespace

uint64_t HashText(std::string_view text) {
    return TextHash().Add(text).value();
}

std::string BuildState::FileIn(const std::string& configDir) {
    return configDir + "/.quorle-host-state";
}

std::string BuildState::JournalIn(const std::string& configDir) {
    return configDir + "/.quorle-host-journal";
}

std::string BuildState::LockIn(const std::string& configDir) {
    return configDir + "/.quorle-host-lock";
}

std::vector<std::string> BuildState::OwnFilesIn(const std::string& configDir) {
    return {FileIn(configDir), JournalIn(configDir), LockIn(configDir), FileIn(configDir) + ".new",
            JournalIn(configDir) + ".new"};
}

const StepRecord* BuildState::Find(const std::string& key) const {
    auto it = records_.find(key);
    return it == records_.end() ? nullptr : &it->second;
}

void BuildState::Erase(const std::string& key) {
    if (records_.erase(key) > 0) changed_ = true;
}

std::vector<std::string> BuildState::MadeFiles() const {
    std::vector<std::string> made;
    for (const auto& [key, record] : records_)
        made.insert(made.end(), record.made.begin(), record.made.end());
    return made;
}

std::vector<std::string> BuildState::Keys() const {
    std::vector<std::string> keys;
    keys.reserve(records_.size());
    for (const auto& [key, record] : records_) keys.push_back(key);
    return keys;
}

void BuildState::SetCheckpointPolicy(size_t steps, std::chrono::milliseconds interval) {
    checkpointSteps_ = steps;
    checkpointInterval_ = interval;
}

std::vector<std::string> BuildState::LoadRecords(const std::string& configDir, PathTable numbered) {
    dir_ = configDir;
    records_.clear();
    paths_ = std::move(numbered);
    usual_.clear();
    running_.clear();
    journal_.Close();
    journalStarted_ = journalPending_ = false;
    changed_ = false;
    finishedSince_ = 0;
    lastCheckpoint_ = std::chrono::steady_clock::now();
    std::vector<std::string> warnings;
    std::string file = FileIn(configDir);
    // In pieces: a large build's state is megabytes, and never held whole.
    StateReader reader(*this);
    bool read =
        platform::ReadFileInPieces(file, [&reader](std::string_view piece) { reader.Feed(piece); });
    StateReading reading = reader.Finish();
    if (!read) {
        // Whatever came before the failure is not the whole state. The
        // paths stay: they are names only, and others may hold their numbers.
        records_.clear();
        usual_.clear();
        if (Present(file)) {
            warnings.push_back(file + " cannot be read; every step is rebuilt");
            changed_ = true;
        }
        return warnings;
    }
    if (!reading.known) {
        records_.clear();
        warnings.push_back(file + " is not a state this host reads; every step is rebuilt");
    } else if (reading.badLines > 0) {
        warnings.push_back(file + ": " + Plural(reading.badLines, "line") +
                           " did not read (the first is line " + std::to_string(reading.firstBad) +
                           "); the steps they record are rebuilt");
    }
    // Rewritten whole at the next save, without what did not read.
    if (!reading.known || reading.badLines > 0) changed_ = true;
    return warnings;
}

LoadReport BuildState::Load(const std::string& configDir, PathTable numbered) {
    LoadReport report;
    report.warnings = LoadRecords(configDir, std::move(numbered));
    std::string journal = JournalIn(configDir);
    if (!Present(journal)) return report;
    auto text = platform::ReadFile(journal, false);
    if (!text) {
        // Too large, not a file, or unreadable: it may name any step.
        records_.clear();
        changed_ = journalPending_ = true;
        report.warnings.push_back(journal + " cannot be read whole; every step is rebuilt");
        return report;
    }
    Replay(*text, report);
    return report;
}

void BuildState::Replay(std::string_view text, LoadReport& report) {
    JournalReading reading = ReadJournal(text);
    changed_ = journalPending_ = true; // folded into the state at the next checkpoint
    if (!reading.whole) {
        records_.clear();
        report.warnings.push_back(JournalIn(dir_) + " does not read whole; every step is rebuilt");
        return;
    }
    if (reading.events.empty()) return;
    std::unordered_map<uint64_t, std::vector<std::string>> keysOf;
    for (const auto& [key, record] : records_) keysOf[StepId(key)].push_back(key);
    std::vector<uint64_t> open;
    std::unordered_set<uint64_t> isOpen;
    for (const JournalEvent& event : reading.events) {
        if (event.kind == 's') {
            // Its record, if any, describes outputs the step began to replace.
            if (auto it = keysOf.find(event.id); it != keysOf.end())
                for (const std::string& key : it->second) records_.erase(key);
            if (isOpen.insert(event.id).second) open.push_back(event.id);
        } else {
            isOpen.erase(event.id);
        }
    }
    for (uint64_t id : open)
        if (isOpen.count(id) > 0) report.unfinished.push_back(id);
}

bool BuildState::WriteState() {
    std::string path = FileIn(dir_);
    std::string fresh = path + ".new";
    if (!platform::WriteFreshFile(fresh, Serialise())) return false;
    if (!platform::ReplaceFile(fresh, path)) {
        RemoveOwn(fresh);
        return false;
    }
    changed_ = false;
    return true;
}

// The journal of this build: the header and a start line for every step
// still running, written beside it and renamed over whatever was there.
bool BuildState::StartJournal() {
    journal_.Close();
    std::string path = JournalIn(dir_);
    std::string text = std::string(kJournalHeader) + "\n";
    std::vector<uint64_t> running(running_.begin(), running_.end());
    std::sort(running.begin(), running.end());
    for (uint64_t id : running) text += JournalLine('s', id);
    std::string fresh = path + ".new";
    if (!platform::WriteFreshFile(fresh, text) || !platform::ReplaceFile(fresh, path)) {
        RemoveOwn(fresh);
        return false;
    }
    journalStarted_ = journal_.Open(path);
    return journalStarted_;
}

bool BuildState::Checkpoint() {
    if (dir_.empty()) return true;
    if ((changed_ || journalPending_) && !WriteState()) return false;
    journalPending_ = false;
    finishedSince_ = 0;
    lastCheckpoint_ = std::chrono::steady_clock::now();
    if (!journalStarted_ && running_.empty()) {
        RemoveOwn(JournalIn(dir_)); // the journal of before is folded in
        return true;
    }
    return StartJournal();
}

void BuildState::MaybeCheckpoint() {
    if (dir_.empty() || finishedSince_ == 0) return;
    if (finishedSince_ < checkpointSteps_ &&
        std::chrono::steady_clock::now() - lastCheckpoint_ < checkpointInterval_)
        return;
    Checkpoint();
}

bool BuildState::Append(const std::string& line) {
    if (!journalStarted_) {
        // What a journal of before says goes into the state first, so this
        // build's journal starts empty.
        if (journalPending_ ? !Checkpoint() : !StartJournal()) return false;
        if (!journalStarted_ && !StartJournal()) return false;
    }
    return journal_.Append(line);
}

bool BuildState::Started(const std::string& key, std::optional<int64_t>* mark) {
    Erase(key);
    changed_ = true;
    if (dir_.empty()) return true; // a state of no directory lives in memory only
    uint64_t id = StepId(key);
    if (!Append(JournalLine('s', id))) return false;
    running_.insert(id);
    if (mark != nullptr) *mark = platform::FileModifiedTime(JournalIn(dir_));
    return true;
}

void BuildState::Finished(const std::string& key, StepRecord record) {
    // Held against the usual times: a path new to the state takes its time
    // from the first record that names it.
    DependencyList deps(&usual_);
    deps.reserve(record.deps.size());
    for (Dependency dep : record.deps) {
        usual_.Note(dep.path, dep.time);
        deps.push_back(dep);
    }
    record.deps = std::move(deps);
    records_[key] = std::move(record);
    changed_ = true;
    if (dir_.empty()) return;
    uint64_t id = StepId(key);
    // A lost end line leaves the step out of date, nothing worse.
    if (running_.erase(id) > 0) Append(JournalLine('f', id));
    ++finishedSince_;
    MaybeCheckpoint();
}

bool BuildState::Save() {
    journal_.Close();
    journalStarted_ = false;
    running_.clear();
    if (dir_.empty()) return true;
    if ((changed_ || journalPending_) && !WriteState()) return false;
    journalPending_ = false;
    RemoveOwn(JournalIn(dir_));
    return true;
}

} // namespace quorle::host
