#include "sheet/option_sets.h"

#include <cstdio>

namespace quorle::sheet {
namespace {

std::string PositionKey(const std::string& phase, int position) {
    return phase + "|" + std::to_string(position);
}

} // namespace

COptionSets::COptionSets(const HostRecords& records) {
    positions_.resize(records.phases.size());
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
            auto found = byContent_.find(key);
            COptionSet* target = nullptr;
            if (found == byContent_.end()) {
                set->id = static_cast<int>(sets_.size());
                set->home = static_cast<int>(i);
                target = set.get();
                byContent_.emplace(std::move(key), target);
                sets_.push_back(std::move(set));
            } else {
                target = found->second;
            }
            byPosition_.emplace(PositionKey(phase.name, static_cast<int>(i)), target);
            positions_[r].push_back(target);
        }
    }
}

COptionSet* COptionSets::Copy(const COptionSet& from) {
    auto set = std::make_unique<COptionSet>();
    set->id = static_cast<int>(sets_.size());
    set->record = from.record;
    set->phase = from.phase;
    set->phaseName = from.phaseName;
    set->model = CloneModel(*from.model);
    set->openedText = from.openedText;
    sets_.push_back(std::move(set));
    return sets_.back().get();
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
