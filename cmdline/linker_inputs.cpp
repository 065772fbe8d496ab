#include "cmdline/linker_inputs.h"

#include <unordered_map>

#include "core/ascii_text.h"
#include "core/path_text.h"

namespace quorle::cmdline {

int InputKindIndex(std::string_view kindName) {
    for (size_t i = 0; i < std::size(kInputKindNames); ++i)
        if (kInputKindNames[i] == kindName) return static_cast<int>(i);
    return -1;
}

bool SplitInputEntry(std::string_view entry, std::string_view& path, std::string_view& kind) {
    size_t bar = entry.rfind('|');
    if (bar == std::string_view::npos) return false;
    path = entry.substr(0, bar);
    kind = entry.substr(bar + 1);
    return true;
}

std::string LeafKey(std::string_view path) {
    std::string key(LastComponent(path));
    for (char& c : key) c = core::AsciiLower(c);
    return key;
}

namespace {

struct Input {
    std::string_view path;
    std::string_view kind;
    std::string key;
    bool taken = false;
};

// Matches the remaining inputs, last first, against one list; a matched entry
// takes the input's path.
void MatchList(std::vector<std::string>& list, std::vector<Input>& inputs) {
    // Entries of one name, in list order; `next` is the first one not yet
    // taken by an input.
    struct Entries {
        size_t first;
        std::vector<size_t> more;
        size_t next = 0;
    };
    std::unordered_map<std::string, Entries> free;
    free.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        auto [it, added] = free.try_emplace(LeafKey(list[i]), Entries{i, {}});
        if (!added) it->second.more.push_back(i);
    }
    for (size_t n = inputs.size(); n-- > 0;) {
        Input& input = inputs[n];
        if (input.taken) continue;
        auto it = free.find(input.key);
        if (it == free.end()) continue;
        Entries& entries = it->second;
        if (entries.next > entries.more.size()) continue;
        size_t index = entries.next == 0 ? entries.first : entries.more[entries.next - 1];
        ++entries.next;
        list[index] = input.path;
        input.taken = true;
    }
}

void AppendWithKind(std::vector<std::string>& out, const std::vector<std::string>& list,
                    std::string_view kind) {
    for (const std::string& path : list) {
        std::string entry = path;
        entry += '|';
        entry += kind;
        out.push_back(std::move(entry));
    }
}

} // namespace

bool ReorderInputs(models::LinkerModel& model, std::vector<std::string>& inputs) {
    std::vector<Input> parsed;
    parsed.reserve(inputs.size());
    for (const std::string& entry : inputs) {
        Input input;
        if (!SplitInputEntry(entry, input.path, input.kind)) return false;
        input.key = LeafKey(input.path);
        parsed.push_back(std::move(input));
    }
    std::vector<std::string> libraries = model.libraries_;
    std::vector<std::string> objects = model.objects_;
    std::vector<std::string> binaries = model.binaries_;
    MatchList(libraries, parsed);
    MatchList(objects, parsed);
    MatchList(binaries, parsed);

    std::vector<std::string> libraryEntries, objectEntries, binaryEntries;
    AppendWithKind(libraryEntries, libraries, kInputKindNames[kLibraryFile]);
    AppendWithKind(objectEntries, objects, kInputKindNames[kObjectFile]);
    AppendWithKind(binaryEntries, binaries, kInputKindNames[kBinaryFile]);
    for (size_t i = 0; i < parsed.size(); ++i) {
        if (parsed[i].taken) continue;
        int kind = InputKindIndex(parsed[i].kind);
        std::vector<std::string>& target = kind == kLibraryFile  ? libraryEntries
                                           : kind == kBinaryFile ? binaryEntries
                                                                 : objectEntries;
        target.push_back(inputs[i]);
    }
    model.libraries_ = std::move(libraries);
    model.objects_ = std::move(objects);
    model.binaries_ = std::move(binaries);

    std::vector<std::string> reordered;
    reordered.reserve(binaryEntries.size() + objectEntries.size() + libraryEntries.size());
    for (auto* part : {&binaryEntries, &objectEntries, &libraryEntries})
        for (std::string& entry : *part) reordered.push_back(std::move(entry));
    inputs = std::move(reordered);
    return true;
}

} // namespace quorle::cmdline
