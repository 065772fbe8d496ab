#include "sheet/option_sets.h"

#include <cstdio>

namespace quorle::sheet {
namespace {

std::string PositionKey(const std::string& phase, int position) {
    return phase + "|" + std::to_string(position);
}

} // namespace

COptionSets::COptionSets(const HostRecords& records) {
    m_aPositions.resize(records.phases.size());
    for (size_t r = 0; r < records.phases.size(); ++r) {
        const HostPhase& phase = records.phases[r];
        for (size_t i = 0; i < phase.inputs.size(); ++i) {
            auto set = std::make_unique<COptionSet>();
            set->record = r;
            set->phase = phase.index;
            set->phaseName = phase.name;
            set->model = MakeModel(phase.index, phase.inputs[i]);
            set->openedText = set->model->Write();
            std::string key = phase.name + "|" + set->openedText;
            auto found = m_mapOption.find(key);
            COptionSet* target = nullptr;
            if (found == m_mapOption.end()) {
                set->id = static_cast<int>(m_aSets.size());
                set->home = static_cast<int>(i);
                target = set.get();
                m_mapOption.emplace(std::move(key), target);
                m_aSets.push_back(std::move(set));
            } else {
                target = found->second;
            }
            m_mapPosition.emplace(PositionKey(phase.name, static_cast<int>(i)), target);
            m_aPositions[r].push_back(target);
        }
    }
}

COptionSet* COptionSets::Copy(const COptionSet& from) {
    auto set = std::make_unique<COptionSet>();
    set->id = static_cast<int>(m_aSets.size());
    set->record = from.record;
    set->phase = from.phase;
    set->phaseName = from.phaseName;
    set->model = CloneModel(*from.model);
    set->openedText = from.openedText;
    m_aSets.push_back(std::move(set));
    return m_aSets.back().get();
}

std::string DumpOptionSets(const HostRecords& records, const COptionSets& sets,
                           const std::vector<COptionSet*>& selected) {
    std::string out = "\nm_mapSelectOption:\n";
    for (const COptionSet* set : selected)
        out += "\t" + std::to_string(set->id) + " -> " + set->phaseName + "\t" + set->Text() + "\n";
    out += "m_mapOption:\n";
    for (const auto& set : sets.All())
        out += "\t" + std::to_string(set->id) + " -> " + set->phaseName + "\t" + set->Text() + "\n";
    out += "m_pManager->SetOptionArray(oa):\n";
    int n = 0;
    for (size_t r = 0; r < records.phases.size(); ++r) {
        for (size_t i = 0; i < sets.PositionCount(r); ++i) {
            const COptionSet* set = sets.AtPosition(r, static_cast<int>(i));
            out += "\t" + std::to_string(n++) + " -> " +
                   PositionKey(records.phases[r].name, static_cast<int>(i)) + "\t" +
                   std::to_string(set->id) + "\t" + set->Text() + "\n";
        }
    }
    out += "saOptionIn:\n";
    for (const HostPhase& phase : records.phases) {
        for (size_t i = 0; i < phase.inputs.size(); ++i)
            out += "\t" + std::to_string(i) + " -> " + phase.name + "|" + phase.inputs[i] + "\n";
    }
    return out;
}

} // namespace quorle::sheet
