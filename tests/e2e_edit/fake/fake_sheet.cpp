// A stand-in for the options sheet, to drive quorle-host edit's whole path
// before the real sheet exists. It is linked against the plug-in and defines
// only EditOptions: the host's symbol lookup on this library finds that one
// here and every other entry point in the plug-in it depends on.
//
// FAKE_SHEET_RESULT  0, -1 or 1 (default 0)
// FAKE_SHEET_FILE    path of the file record to change (default: none)
// FAKE_SHEET_CONFIG  index of the configuration to change it in (default 0)
// FAKE_SHEET_TOUCH   a file to append to while the sheet is "open"
// FAKE_SHEET_LOG     a file that receives the arguments seen
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "interface/quorle.h"

namespace {

std::string Env(const char* name, const char* fallback = "") {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

char* HeapCopy(const std::string& text) {
    char* block = static_cast<char*>(std::calloc(text.size() + 1, 1));
    std::memcpy(block, text.data(), text.size());
    return block;
}

void Append(const std::string& path, const std::string& text) {
    if (path.empty()) return;
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
}

} // namespace

extern "C" QUORLE_API int QUORLE_CALL EditOptions(QuorlePhaseRecord* const* phases,
                                                  const char* resourceDirFile,
                                                  const QuorleProjectInfo* info) {
    Append(Env("FAKE_SHEET_LOG"), std::string("path=") + resourceDirFile +
                                      "\nscript=" + Env("QUORLE_SHEET_SCRIPT") +
                                      "\nconfig=" + info->configName + "\n");
    Append(Env("FAKE_SHEET_TOUCH"), " ");
    int result = std::atoi(Env("FAKE_SHEET_RESULT", "0").c_str());
    if (result != 0) return result;
    const std::string target = Env("FAKE_SHEET_FILE");
    const int config = std::atoi(Env("FAKE_SHEET_CONFIG", "0").c_str());
    for (size_t p = 0; phases[p] != nullptr; ++p) {
        std::vector<std::string> out;
        for (const char* const* s = phases[p]->options; *s; ++s) out.push_back(*s);
        for (QuorleProjectEntry* const* e = phases[p]->projects; *e; ++e) {
            for (QuorleFileRecord* const* f = (*e)->files; *f; ++f) {
                for (int c = 0; (*e)->configs[c] != nullptr; ++c) {
                    int32_t index = (*f)->optionIndex[c];
                    if (target == (*f)->path && c == config) {
                        out.push_back(out[static_cast<size_t>(index)] + " [B|SKIPDEPENDENCY|1]");
                        index = static_cast<int32_t>(out.size() - 1);
                    }
                    (*f)->slotB[c] = index;
                    if ((*f)->slotA != nullptr) (*f)->slotA[c] = index;
                }
            }
        }
        auto** list = static_cast<char**>(std::calloc(out.size() + 1, sizeof(char*)));
        for (size_t i = 0; i < out.size(); ++i) list[i] = HeapCopy(out[i]);
        phases[p]->newOptions = list;
    }
    return 0;
}
