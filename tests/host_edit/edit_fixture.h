// A workspace, a catalogue standing in for the plug-in's, and a stand-in for
// the sheet's OK that fills the output slots the way the plug-in does.
#pragma once

#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/edit_records.h"
#include "host/workspace.h"

namespace quorle::host::testing {

inline const char* const kWorkspaceText = R"({
  "toolchain": "Dravik GNUCORVO [ELF]",
  "phases": ["GNU Library Generator", "GNU Compiler", "GNU Assembler", "GNU Linker"],
  "projects": [
    {
      "name": "app", "dir": "app",
      "configurations": { "DEBUG": "Debug", "RELEASE": "Release" },
      "files": ["src/a.c", "src/b.c", "src/c.cpp", "src/s.s", "inc/a.h", "src/a.c"],
      "options": [
        { "phase": "Compiler", "fileType": "C source file", "config": "DEBUG", "value": "[C|DBG]" },
        { "phase": "Compiler", "fileType": "C source file", "config": "RELEASE", "value": "[C|REL]" },
        { "phase": "Compiler", "file": "src/b.c", "value": "[B|ALL]" },
        { "phase": "Linker", "config": "DEBUG", "value": "[L|DBG]" }
      ]
    },
    { "name": "lib", "dir": "lib", "files": ["x.c"] }
  ]
})";

inline Workspace LoadFixture() {
    std::string error;
    auto ws = ParseWorkspace(kWorkspaceText, "/ws/fixture.qws", error);
    if (!ws) throw std::runtime_error(error);
    return *ws;
}

// Phases in build order, as the plug-in's catalogue describes them; every
// default names its phase, configuration and type so a test can tell.
inline EditCatalogue FixtureCatalogue() {
    EditCatalogue catalogue;
    catalogue.phases = {{"GNU Library Generator", true, {}},
                        {"GNU Compiler", false, {"C source file", "C++ source file"}},
                        {"GNU Assembler", false, {"Assembly source file"}},
                        {"GNU Linker", true, {"Object file"}}};
    catalogue.extensions = {{"C", "C source file"},
                            {"CPP", "C++ source file"},
                            {"S", "Assembly source file"},
                            {"H", "C header file"}};
    catalogue.defaults = [](const std::string& phase, const std::string& config,
                            const std::string& type) -> std::optional<std::string> {
        return "[def|" + phase + "|" + config + "|" + type + "]";
    };
    return catalogue;
}

inline char* HeapCopy(const std::string& text) {
    char* block = static_cast<char*>(std::calloc(text.size() + 1, 1));
    std::memcpy(block, text.data(), text.size());
    return block;
}

// The new string of an item in a configuration; nullopt keeps the input.
using Edit = std::function<std::optional<std::string>(const EditItem&, size_t config)>;

// Fills every phase's output list (from the C heap, like the plug-in) with
// the distinct new strings and points both slot arrays at them.
inline void FakeSheetOk(EditRecords& records, const Edit& edit) {
    size_t itemIndex = 0;
    QuorlePhaseRecord* const* list = records.Records();
    for (size_t p = 0; list[p] != nullptr; ++p) {
        std::vector<std::string> strings;
        auto indexOf = [&](const std::string& text) {
            for (size_t i = 0; i < strings.size(); ++i)
                if (strings[i] == text) return static_cast<int32_t>(i);
            strings.push_back(text);
            return static_cast<int32_t>(strings.size() - 1);
        };
        for (QuorleProjectEntry* const* project = list[p]->projects; *project; ++project) {
            for (QuorleFileRecord* const* file = (*project)->files; *file; ++file) {
                const EditItem& item = records.items()[itemIndex++];
                for (size_t c = 0; c < item.configs.size(); ++c) {
                    auto changed = edit(item, c);
                    std::string text =
                        changed ? *changed : list[p]->options[(*file)->optionIndex[c]];
                    (*file)->slotB[c] = indexOf(text);
                    (*file)->slotA[c] = (*file)->slotB[c];
                }
            }
        }
        auto** out = static_cast<char**>(std::calloc(strings.size() + 1, sizeof(char*)));
        for (size_t i = 0; i < strings.size(); ++i) out[i] = HeapCopy(strings[i]);
        list[p]->newOptions = out;
    }
}

} // namespace quorle::host::testing
