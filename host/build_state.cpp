#include "host/build_state.h"

#include <charconv>
#include <filesystem>

#include "host/text_list.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "quorle-host state 2";

std::string Hex(uint64_t value) {
    char text[17];
    auto end = std::to_chars(text, text + 16, value, 16).ptr;
    return std::string(text, end);
}

template <typename T> bool Number(const std::string& text, T& value, int base = 10) {
    const char* end = text.data() + text.size();
    auto parsed = std::from_chars(text.data(), end, value, base);
    return parsed.ec == std::errc() && parsed.ptr == end && !text.empty();
}

// Lines of a text, each without its line end.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines = SplitAll(text, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// "1": the dependency list is known; "2": the step did not finish; "3": both.
std::string Flags(const StepRecord& record) {
    return std::to_string((record.depsKnown ? 1 : 0) + (record.incomplete ? 2 : 0));
}

void ReadFlags(const std::string& text, StepRecord& record) {
    int flags = text.size() == 1 ? text[0] - '0' : 0;
    record.depsKnown = (flags & 1) != 0;
    record.incomplete = (flags & 2) != 0;
}

} // namespace

uint64_t HashText(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string BuildState::FileIn(const std::string& configDir) {
    return configDir + "/.quorle-host-state";
}

std::string BuildState::JournalIn(const std::string& configDir) {
    return configDir + "/.quorle-host-journal";
}

BuildState::~BuildState() {
    if (journal_ != nullptr) std::fclose(journal_);
}

uint32_t BuildState::PathId(const std::string& path) {
    auto [it, added] = pathIds_.try_emplace(path, static_cast<uint32_t>(paths_.size()));
    if (added) paths_.push_back(path);
    return it->second;
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

// One record on one line, tab-separated: the hashes, the dependency flag,
// the count and the dependencies as "time<TAB>path", the count and the made
// files. The journal uses this self-contained form.
std::string BuildState::RecordLine(const StepRecord& record) const {
    std::string line = Hex(record.optionsHash) + "\t" + Hex(record.inputsHash) + "\t" +
                       Flags(record) + "\t" + std::to_string(record.deps.size());
    for (const Dependency& dep : record.deps)
        line += "\t" + std::to_string(dep.time) + "\t" + paths_[dep.path];
    line += "\t" + std::to_string(record.made.size());
    for (const std::string& made : record.made) line += "\t" + made;
    return line;
}

bool BuildState::ReadRecordLine(const std::string& line, StepRecord& record) {
    std::vector<std::string> f = SplitAll(line, '\t');
    size_t count = 0, made = 0;
    if (f.size() < 5 || !Number(f[0], record.optionsHash, 16) ||
        !Number(f[1], record.inputsHash, 16) || !Number(f[3], count) ||
        f.size() < 5 + 2 * count || !Number(f[4 + 2 * count], made) ||
        f.size() != 5 + 2 * count + made)
        return false;
    ReadFlags(f[2], record);
    record.deps.clear();
    for (size_t i = 0; i < count; ++i) {
        Dependency dep;
        if (!Number(f[4 + 2 * i], dep.time)) return false;
        dep.path = PathId(f[5 + 2 * i]);
        record.deps.push_back(dep);
    }
    record.made.assign(f.end() - static_cast<std::ptrdiff_t>(made), f.end());
    return true;
}

// The state file: a header, the path table ("p", the usual time, the path),
// then one line per step ("s", the key, then the record with each
// dependency as its table index, followed by ":" and its time only when
// that differs from the table's).
std::string BuildState::Serialise() const {
    std::vector<int64_t> usual(paths_.size(), 0);
    std::vector<char> used(paths_.size(), 0);
    for (const auto& [key, record] : records_)
        for (const Dependency& dep : record.deps)
            if (!used[dep.path]) used[dep.path] = 1, usual[dep.path] = dep.time;
    std::vector<uint32_t> index(paths_.size(), 0);
    std::string text = std::string(kHeader) + "\n";
    uint32_t next = 0;
    for (size_t i = 0; i < paths_.size(); ++i) {
        if (!used[i]) continue;
        index[i] = next++;
        text += "p\t" + std::to_string(usual[i]) + "\t" + paths_[i] + "\n";
    }
    for (const auto& [key, record] : records_) {
        text += "s\t" + key + "\t" + Hex(record.optionsHash) + "\t" + Hex(record.inputsHash) +
                "\t" + Flags(record) + "\t" + std::to_string(record.deps.size());
        for (const Dependency& dep : record.deps) {
            text += "\t" + std::to_string(index[dep.path]);
            if (dep.time != usual[dep.path]) text += ":" + std::to_string(dep.time);
        }
        text += "\t" + std::to_string(record.made.size());
        for (const std::string& made : record.made) text += "\t" + made;
        text += "\n";
    }
    return text;
}

bool BuildState::Parse(const std::string& text) {
    std::vector<std::string> lines = Lines(text);
    if (lines.empty() || lines[0] != kHeader) return false;
    std::vector<std::pair<uint32_t, int64_t>> table;
    for (size_t n = 1; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.rfind("p\t", 0) == 0) {
            size_t tab = line.find('\t', 2);
            int64_t time = 0;
            if (tab == std::string::npos || !Number(line.substr(2, tab - 2), time)) return false;
            table.emplace_back(PathId(line.substr(tab + 1)), time);
            continue;
        }
        std::vector<std::string> f = SplitAll(line, '\t');
        StepRecord record;
        size_t count = 0, made = 0;
        if (f.size() < 7 || f[0] != "s" || !Number(f[2], record.optionsHash, 16) ||
            !Number(f[3], record.inputsHash, 16) || !Number(f[5], count) ||
            f.size() < 7 + count || !Number(f[6 + count], made) || f.size() != 7 + count + made)
            return false;
        ReadFlags(f[4], record);
        for (size_t i = 0; i < count; ++i) {
            const std::string& entry = f[6 + i];
            size_t colon = entry.find(':');
            uint32_t at = 0;
            if (!Number(entry.substr(0, colon), at) || at >= table.size()) return false;
            Dependency dep{table[at].first, table[at].second};
            if (colon != std::string::npos && !Number(entry.substr(colon + 1), dep.time))
                return false;
            record.deps.push_back(dep);
        }
        record.made.assign(f.end() - static_cast<std::ptrdiff_t>(made), f.end());
        records_[f[1]] = std::move(record);
    }
    return true;
}

void BuildState::Replay(const std::string& text, std::vector<std::string>* unfinished) {
    std::unordered_map<std::string, std::vector<std::string>> open;
    for (const std::string& line : Lines(text)) {
        size_t tab = line.find('\t', 2);
        if (line.size() < 3 || line[1] != '\t' || tab == std::string::npos) {
            if (line.rfind("s\t", 0) == 0) {
                // A start entry without outputs.
                open[line.substr(2)];
                records_.erase(line.substr(2));
            }
            continue;
        }
        std::string key = line.substr(2, tab - 2);
        if (line[0] == 's') {
            open[key] = SplitAll(line.substr(tab + 1), '\t');
            records_.erase(key);
        } else if (line[0] == 'f') {
            StepRecord record;
            if (ReadRecordLine(line.substr(tab + 1), record)) records_[key] = std::move(record);
            open.erase(key);
        } else if (line[0] == 'e') {
            records_.erase(key);
            open.erase(key);
        }
    }
    if (unfinished != nullptr)
        for (const auto& [key, outputs] : open)
            unfinished->insert(unfinished->end(), outputs.begin(), outputs.end());
    changed_ = true; // the journal is folded into the state at the next save
}

void BuildState::Load(const std::string& configDir, std::vector<std::string>* unfinished) {
    dir_ = configDir;
    records_.clear();
    paths_.clear();
    pathIds_.clear();
    changed_ = false;
    if (auto text = platform::ReadFile(FileIn(configDir), false); text && !Parse(*text)) {
        // A damaged state file costs a full rebuild, nothing more.
        records_.clear();
        changed_ = true;
    }
    if (auto journal = platform::ReadFile(JournalIn(configDir), false))
        Replay(*journal, unfinished);
}

void BuildState::Append(const std::string& line) {
    if (dir_.empty()) return; // a state of no directory lives in memory only
    if (journal_ == nullptr) {
        fs::path path = fs::u8path(JournalIn(dir_));
        journal_ = std::fopen(path.string().c_str(), "ab");
        if (journal_ == nullptr) return;
    }
    std::fputs(line.c_str(), journal_);
    std::fputc('\n', journal_);
    std::fflush(journal_);
}

std::optional<int64_t> BuildState::Started(const std::string& key,
                                           const std::vector<std::string>& outputs) {
    std::string line = "s\t" + key;
    for (const std::string& out : outputs) line += "\t" + out;
    Append(line);
    Erase(key);
    changed_ = true;
    if (dir_.empty()) return std::nullopt;
    return platform::FileModifiedTime(JournalIn(dir_));
}

void BuildState::Finished(const std::string& key, StepRecord record) {
    Append("f\t" + key + "\t" + RecordLine(record));
    records_[key] = std::move(record);
    changed_ = true;
}

bool BuildState::Save() {
    if (journal_ != nullptr) {
        std::fclose(journal_);
        journal_ = nullptr;
    }
    std::error_code ec;
    if (!changed_ || dir_.empty()) return true;
    std::string path = FileIn(dir_);
    std::string temporary = path + ".new";
    if (!platform::WriteFile(temporary, Serialise(), false)) return false;
    fs::rename(fs::u8path(temporary), fs::u8path(path), ec);
    if (ec) return false;
    fs::remove(fs::u8path(JournalIn(dir_)), ec);
    changed_ = false;
    return true;
}

} // namespace quorle::host
