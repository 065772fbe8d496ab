#include "sheet/host_records.h"

#include "core/phase.h"
#include "core/record_check.h"

namespace quorle::sheet {
namespace {

std::string Text(const char* text) {
    return text == nullptr ? std::string() : std::string(text);
}

bool ReadFile(const QuorleFileRecord* record, size_t configCount, size_t inputCount, HostFile& out,
              std::string& why) {
    if (!HasRecordSize(record)) {
        why = "file record of the wrong size";
        return false;
    }
    out.path = Text(record->path);
    out.fileType = Text(record->fileType);
    out.slotA = record->slotA;
    out.slotB = record->slotB;
    if (configCount > 0 && (record->optionIndex == nullptr || record->slotB == nullptr)) {
        why = "file record without its index or slot array: " + out.path;
        return false;
    }
    for (size_t c = 0; c < configCount; ++c) {
        int32_t index = record->optionIndex[c];
        if (index < 0 || static_cast<size_t>(index) >= inputCount) {
            why = "option index outside the input strings: " + out.path;
            return false;
        }
        out.indices.push_back(index);
    }
    return true;
}

bool ReadProject(const QuorleProjectEntry* entry, size_t inputCount, HostProject& out,
                 std::string& why) {
    if (!HasRecordSize(entry)) {
        why = "project entry of the wrong size";
        return false;
    }
    out.name = Text(entry->name);
    out.dir = Text(entry->dir);
    for (auto* const* c = entry->configs; c != nullptr && *c != nullptr; ++c) {
        if (!HasRecordSize(*c)) {
            why = "configuration record of the wrong size";
            return false;
        }
        out.configs.push_back({Text((*c)->name), Text((*c)->dir)});
    }
    for (auto* const* f = entry->files; f != nullptr && *f != nullptr; ++f) {
        HostFile file;
        if (!ReadFile(*f, out.configs.size(), inputCount, file, why)) return false;
        out.files.push_back(std::move(file));
    }
    return true;
}

} // namespace

std::optional<HostRecords> ReadHostRecords(QuorlePhaseRecord* const* list, std::string& why) {
    if (list == nullptr) {
        why = "no phase records";
        return std::nullopt;
    }
    HostRecords records;
    for (auto* const* p = list; *p != nullptr; ++p) {
        QuorlePhaseRecord* record = *p;
        if (!HasRecordSize(record)) {
            why = "phase record of the wrong size";
            return std::nullopt;
        }
        HostPhase phase;
        phase.name = Text(record->phase);
        phase.index = LookupPhase(record->phase);
        phase.record = record;
        if (phase.index < kPhaseCompiler || phase.index > kPhaseDebug) {
            why = "phase the options editor does not edit: " + phase.name;
            return std::nullopt;
        }
        // "Compiler" and "GNU Compiler" name one phase: a second record of
        // it would have the sheet hand back two answers for one phase.
        for (const HostPhase& seen : records.phases) {
            if (seen.index == phase.index) {
                why = "phase record listed twice: " + phase.name;
                return std::nullopt;
            }
        }
        for (const char* const* s = record->options; s != nullptr && *s != nullptr; ++s)
            phase.inputs.emplace_back(*s);
        for (auto* const* e = record->projects; e != nullptr && *e != nullptr; ++e) {
            HostProject project;
            if (!ReadProject(*e, phase.inputs.size(), project, why)) return std::nullopt;
            phase.projects.push_back(std::move(project));
        }
        records.phases.push_back(std::move(phase));
    }
    return records;
}

} // namespace quorle::sheet
