#include "sheet/write_back.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace quorle::sheet {

WriteBackPlan PlanWriteBack(const HostRecords& records, const COptionSets& sets,
                            std::vector<CLeaf>& leaves) {
    WriteBackPlan plan;
    plan.outputs.resize(records.phases.size());
    std::unordered_map<const COptionSet*, COptionSet*> survivorOf;
    for (size_t r = 0; r < records.phases.size(); ++r) {
        const std::vector<std::string>& inputs = records.phases[r].inputs;
        std::map<std::string, std::vector<COptionSet*>> groups;
        std::vector<std::pair<COptionSet*, std::string>> ordered; // by home position
        for (const auto& owned : sets.All()) {
            if (owned->record != r) continue;
            std::string text = owned->Text();
            if (text != owned->openedText) plan.changed = true;
            groups[text].push_back(owned.get());
            ordered.emplace_back(owned.get(), std::move(text));
        }
        auto keepsInput = [&inputs](const COptionSet* s, const std::string& text) {
            return inputs[static_cast<size_t>(s->home)] == text;
        };
        for (auto& [text, members] : groups) {
            COptionSet* survivor = members.front();
            for (COptionSet* m : members) {
                if (keepsInput(m, text)) {
                    survivor = m;
                    break;
                }
            }
            for (COptionSet* m : members) {
                survivorOf[m] = survivor;
                if (m != survivor) ++plan.merged;
            }
        }
        // Unchanged survivors keep their place; the others fill free places.
        std::vector<const COptionSet*> slots(inputs.size(), nullptr);
        std::vector<std::pair<const COptionSet*, const std::string*>> placed(inputs.size());
        std::vector<std::pair<COptionSet*, const std::string*>> moving;
        for (auto& [set, text] : ordered) {
            if (survivorOf[set] != set) continue;
            if (keepsInput(set, text)) {
                slots[static_cast<size_t>(set->home)] = set;
                placed[static_cast<size_t>(set->home)] = {set, &text};
            } else {
                moving.emplace_back(set, &text);
            }
        }
        size_t next = 0;
        for (auto& [set, text] : moving) {
            while (next < slots.size() && slots[next] != nullptr) ++next;
            if (next < slots.size()) {
                slots[next] = set;
                placed[next] = {set, text};
            } else {
                slots.push_back(set);
                placed.emplace_back(set, text);
            }
        }
        std::vector<std::string>& out = plan.outputs[r];
        for (size_t p = 0; p < placed.size(); ++p) {
            if (placed[p].first == nullptr) continue;
            plan.positions[placed[p].first] = static_cast<int>(out.size());
            // Equal texts: the host's input is handed back as it was.
            out.push_back(p < inputs.size() && inputs[p] == *placed[p].second ? inputs[p]
                                                                              : *placed[p].second);
        }
    }
    if (plan.merged > 0) plan.changed = true;
    for (CLeaf& leaf : leaves) leaf.set = survivorOf[leaf.set];
    return plan;
}

namespace {

char* HeapCopy(const std::string& text) {
    auto* block = static_cast<char*>(std::calloc(text.size() + 1, 1));
    if (block != nullptr) std::memcpy(block, text.data(), text.size());
    return block;
}

void FreeArray(char** array) {
    if (array == nullptr) return;
    for (char** p = array; *p != nullptr; ++p) std::free(*p);
    std::free(array);
}

} // namespace

bool CommitWriteBack(const HostRecords& records, const WriteBackPlan& plan,
                     const std::vector<CLeaf>& leaves) {
    std::vector<char**> arrays;
    bool ok = true;
    for (const std::vector<std::string>& texts : plan.outputs) {
        auto** array = static_cast<char**>(std::calloc(texts.size() + 1, sizeof(char*)));
        ok = ok && array != nullptr;
        for (size_t i = 0; array != nullptr && i < texts.size(); ++i) {
            array[i] = HeapCopy(texts[i]);
            ok = ok && array[i] != nullptr;
            if (array[i] == nullptr) break;
        }
        arrays.push_back(array);
    }
    if (!ok) {
        for (char** array : arrays) FreeArray(array);
        return false;
    }
    for (size_t r = 0; r < records.phases.size(); ++r)
        records.phases[r].record->newOptions = arrays[r];
    for (const CLeaf& leaf : leaves) {
        const HostFile& file = records.phases[leaf.record].projects[leaf.project].files[leaf.file];
        int32_t position = plan.positions.at(leaf.set);
        file.slotB[leaf.config] = position;
        if (file.slotA != nullptr) file.slotA[leaf.config] = position;
    }
    return true;
}

} // namespace quorle::sheet
