#include "sheet/host_records.h"

#include "core/phase.h"
#include "core/record_check.h"

namespace quorle::sheet {
namespace {

std::string Text(const char* text) {
    return text == nullptr ? std::string() : std::string(text);
}

UserMessages ReadFile(const QuorleFileRecord* record, size_t configCount, size_t inputCount,
                      HostFile& out) {
    if (!HasRecordSize(record)) return {ErrorText("file record of the wrong size")};
    out.path = Text(record->path);
    out.fileType = Text(record->fileType);
    out.slotA = record->slotA;
    out.slotB = record->slotB;
    if (configCount > 0 && (record->optionIndex == nullptr || record->slotB == nullptr))
        return {ErrorText("file record without its index or slot array: " + out.path)};
    for (size_t c = 0; c < configCount; ++c) {
        int32_t index = record->optionIndex[c];
        if (index < 0 || static_cast<size_t>(index) >= inputCount)
            return {ErrorText("option index outside the input strings: " + out.path)};
        out.indices.push_back(index);
    }
    return {};
}

UserMessages ReadProject(const QuorleProjectEntry* entry, size_t inputCount, HostProject& out) {
    if (!HasRecordSize(entry)) return {ErrorText("project entry of the wrong size")};
    out.name = Text(entry->name);
    out.dir = Text(entry->dir);
    for (auto* const* c = entry->configs; c != nullptr && *c != nullptr; ++c) {
        if (!HasRecordSize(*c)) return {ErrorText("configuration record of the wrong size")};
        out.configs.push_back({Text((*c)->name), Text((*c)->dir)});
    }
    for (auto* const* f = entry->files; f != nullptr && *f != nullptr; ++f) {
        HostFile file;
        if (UserMessages why = ReadFile(*f, out.configs.size(), inputCount, file); !why.empty())
            return why;
        out.files.push_back(std::move(file));
    }
    return {};
}

} // namespace

HostRecordsRead ReadHostRecords(QuorlePhaseRecord* const* list) {
    if (list == nullptr) return {std::nullopt, {ErrorText("no phase records")}};
    HostRecords records;
    for (auto* const* p = list; *p != nullptr; ++p) {
        QuorlePhaseRecord* record = *p;
        if (!HasRecordSize(record))
            return {std::nullopt, {ErrorText("phase record of the wrong size")}};
        HostPhase phase;
        phase.name = Text(record->phase);
        phase.index = LookupPhase(record->phase);
        phase.record = record;
        if (phase.index < kPhaseCompiler || phase.index > kPhaseDebug)
            return {std::nullopt,
                    {ErrorText("phase the options editor does not edit: " + phase.name)}};
        // "Compiler" and "GNU Compiler" name one phase: a second record of
        // it would have the sheet hand back two answers for one phase.
        for (const HostPhase& seen : records.phases) {
            if (seen.index == phase.index)
                return {std::nullopt, {ErrorText("phase record listed twice: " + phase.name)}};
        }
        for (const char* const* s = record->options; s != nullptr && *s != nullptr; ++s)
            phase.inputs.emplace_back(*s);
        for (auto* const* e = record->projects; e != nullptr && *e != nullptr; ++e) {
            HostProject project;
            if (UserMessages why = ReadProject(*e, phase.inputs.size(), project); !why.empty())
                return {std::nullopt, std::move(why)};
            phase.projects.push_back(std::move(project));
        }
        records.phases.push_back(std::move(phase));
    }
    return {std::move(records), {}};
}

} // namespace quorle::sheet
