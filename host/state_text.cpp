// The state file's text. A header, the path table ("p", the usual time, the
// path), then one line per step ("s", the key, the two hashes, the flags,
// the count and the dependencies as table indices, each followed by ":" and
// its time only when that differs from the table's, then the count and the
// made files). Fields are separated by tabs.
//
// The reader takes the file as data from anywhere: counts are checked
// against what the line holds, one field at a time, never by arithmetic on
// them, and a line that does not read drops only itself.
#include <algorithm>
#include <charconv>

#include "host/build_state.h"
#include "host/state_reader.h"

namespace quorle::host {

namespace {

constexpr std::string_view kHeader = "quorle-host state 2";

// The tab-separated fields of one line, read from the front.
class Fields {
  public:
    explicit Fields(std::string_view line) : rest_(line) {}
    bool Next(std::string_view& field) {
        if (done_) return false;
        size_t tab = rest_.find('\t');
        field = rest_.substr(0, tab);
        if (tab == std::string_view::npos)
            done_ = true;
        else
            rest_ = rest_.substr(tab + 1);
        return true;
    }
    // Everything not read yet, tabs and all.
    bool Rest(std::string_view& field) {
        if (done_) return false;
        field = rest_;
        done_ = true;
        return true;
    }
    bool AtEnd() const { return done_; }
    // What is left unread, without taking it.
    std::string_view Remaining() const { return done_ ? std::string_view() : rest_; }

  private:
    std::string_view rest_;
    bool done_ = false;
};

template <typename T> bool Number(std::string_view text, T& value, int base = 10) {
    const char* end = text.data() + text.size();
    auto parsed = std::from_chars(text.data(), end, value, base);
    return !text.empty() && parsed.ec == std::errc() && parsed.ptr == end;
}

template <typename T> bool NextNumber(Fields& fields, T& value, int base = 10) {
    std::string_view field;
    return fields.Next(field) && Number(field, value, base);
}

// A record's own texts must survive the line format.
bool Plain(std::string_view text) {
    // A loop of its own: find_first_of searches the set once per character.
    for (char c : text)
        if (c == '\t' || c == '\r' || c == '\n') return false;
    return !text.empty();
}

std::string Hex(uint64_t value) {
    char text[17];
    auto end = std::to_chars(text, text + 16, value, 16).ptr;
    return std::string(text, end);
}

// Bits of one digit: 1 the dependency list is known, 2 the step did not
// finish, 4 it did not because it failed.
char Flags(const StepRecord& record) {
    return static_cast<char>('0' + (record.depsKnown ? 1 : 0) + (record.incomplete ? 2 : 0) +
                             (record.incomplete && record.failed ? 4 : 0));
}

} // namespace

void BuildState::StateReader::Feed(std::string_view piece) {
    if (!carry_.empty()) {
        size_t end = piece.find('\n');
        carry_.append(piece.substr(0, end));
        if (end == std::string_view::npos) return;
        Line(carry_);
        carry_.clear();
        piece.remove_prefix(end + 1);
    }
    for (size_t end; (end = piece.find('\n')) != std::string_view::npos;) {
        Line(piece.substr(0, end));
        piece.remove_prefix(end + 1);
    }
    carry_.assign(piece);
}

StateReading BuildState::StateReader::Finish() {
    if (!carry_.empty()) Line(carry_); // the last line, without its line end
    carry_.clear();
    return reading_;
}

void BuildState::StateReader::Line(std::string_view line) {
    if (ignored_) return;
    if (++number_ == 1) {
        reading_.known = line == kHeader;
        ignored_ = !reading_.known;
        return;
    }
    Fields fields(line);
    std::string_view kind, field;
    fields.Next(kind);
    if (kind == "p") {
        int64_t time = 0;
        if (NextNumber(fields, time) && fields.Rest(field) && !field.empty() &&
            field.find('\r') == std::string_view::npos) {
            uint32_t id = state_.PathId(field);
            state_.usual_.Note(id, time);
            table_.push_back({id, time});
        } else {
            table_.push_back({kBadPath, 0});
            Bad();
        }
        return;
    }
    StepRecord record;
    record.deps = DependencyList(&state_.usual_);
    std::string_view key, flags;
    size_t count = 0;
    bool ok = kind == "s" && fields.Next(key) && Plain(key) &&
              NextNumber(fields, record.optionsHash, 16) &&
              NextNumber(fields, record.inputsHash, 16) && fields.Next(flags) &&
              flags.size() == 1 && flags[0] >= '0' && flags[0] <= '7' && flags[0] != '4' &&
              flags[0] != '5' && NextNumber(fields, count);
    if (ok) {
        record.depsKnown = ((flags[0] - '0') & 1) != 0;
        record.incomplete = ((flags[0] - '0') & 2) != 0;
        record.failed = record.incomplete && ((flags[0] - '0') & 4) != 0;
    }
    // Sized once: each listed file takes two characters at least, so a
    // damaged count cannot ask for more than the line could hold.
    if (ok) record.deps.reserve(std::min(count, line.size() / 2));
    for (size_t i = 0; ok && i < count; ++i) {
        ok = fields.Next(field);
        if (!ok) break;
        size_t colon = field.find(':');
        size_t at = 0;
        ok = Number(field.substr(0, colon), at) && at < table_.size() && table_[at].id != kBadPath;
        if (!ok) break;
        int64_t time = table_[at].time; // parsed whole; the record holds it in halves
        if (colon != std::string_view::npos) ok = Number(field.substr(colon + 1), time);
        record.deps.push_back({table_[at].id, time});
    }
    ok = ok && NextNumber(fields, count);
    // The made files are the rest of the line, tabs for ends: held as they
    // are, they take exactly its length and one more.
    if (ok && count > 0) record.made.reserve(fields.Remaining().size() + 1);
    for (size_t i = 0; ok && i < count; ++i) {
        ok = fields.Next(field) && Plain(field);
        if (ok) record.made.push_back(field);
    }
    if (!ok || !fields.AtEnd()) {
        Bad();
        return;
    }
    state_.records_[std::string(key)] = std::move(record);
}

StateReading BuildState::ReadState(std::string_view text) {
    StateReader reader(*this);
    reader.Feed(text);
    return reader.Finish();
}

std::string BuildState::Serialise() const {
    // A record whose texts hold a tab or a line end cannot be written; its
    // step is rebuilt each time.
    auto writable = [this](const std::string& key, const StepRecord& record) {
        if (!Plain(key)) return false;
        for (const Dependency& dep : record.deps)
            if (!Plain(paths_[dep.path])) return false;
        for (std::string_view made : record.made)
            if (!Plain(made)) return false;
        return true;
    };
    std::vector<int64_t> usual(paths_.size(), 0);
    std::vector<char> used(paths_.size(), 0);
    for (const auto& [key, record] : records_) {
        if (!writable(key, record)) continue;
        for (const Dependency& dep : record.deps)
            if (!used[dep.path]) used[dep.path] = 1, usual[dep.path] = dep.time;
    }
    std::vector<uint32_t> index(paths_.size(), 0);
    std::string text = std::string(kHeader) + "\n";
    uint32_t next = 0;
    for (uint32_t i = 0; i < paths_.size(); ++i) {
        if (!used[i]) continue;
        index[i] = next++;
        text += "p\t" + std::to_string(usual[i]) + "\t";
        text += paths_[i];
        text += "\n";
    }
    for (const auto& [key, record] : records_) {
        if (!writable(key, record)) continue;
        text += "s\t" + key + "\t" + Hex(record.optionsHash) + "\t" + Hex(record.inputsHash) +
                "\t" + Flags(record) + "\t" + std::to_string(record.deps.size());
        for (const Dependency& dep : record.deps) {
            text += "\t" + std::to_string(index[dep.path]);
            if (dep.time != usual[dep.path]) text += ":" + std::to_string(dep.time);
        }
        text += "\t" + std::to_string(record.made.size());
        for (std::string_view made : record.made) {
            text += '\t';
            text += made;
        }
        text += "\n";
    }
    return text;
}

} // namespace quorle::host
