#include "sheet/write_back.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace quorle::sheet {

WriteBackPlan PlanWriteBack(const HostRecords& records, const COptionSets& sets,
                            std::vector<CLeaf>& leaves) {
    WriteBackPlan plan;
    plan.outputs.resize(records.phases.size());
    plan.kept.resize(records.phases.size());
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
        std::unordered_map<const COptionSet*, bool> unchanged;
        for (const auto& [set, text] : ordered) unchanged[set] = text == set->openedText;
        for (auto& [text, members] : groups) {
            COptionSet* survivor = members.front();
            for (COptionSet* m : members) {
                if (unchanged[m]) {
                    survivor = m;
                    break;
                }
            }
            for (COptionSet* m : members) {
                survivorOf[m] = survivor;
                if (m != survivor) ++plan.merged;
            }
        }
        // Positions of unchanged survivors keep the host's strings; the
        // changed survivors fill the other places.
        std::vector<const std::string*> slots(inputs.size(), nullptr);
        std::vector<const COptionSet*> owners(inputs.size(), nullptr);
        for (size_t p = 0; p < inputs.size(); ++p) {
            COptionSet* owner = sets.AtPosition(r, static_cast<int>(p));
            if (survivorOf[owner] == owner && unchanged[owner]) {
                slots[p] = &inputs[p];
                owners[p] = owner;
            }
        }
        size_t next = 0;
        for (auto& [set, text] : ordered) {
            if (survivorOf[set] != set || unchanged[set]) continue;
            while (next < slots.size() && slots[next] != nullptr) ++next;
            if (next == slots.size()) {
                slots.push_back(nullptr);
                owners.push_back(nullptr);
            }
            slots[next] = &text;
            owners[next] = set;
        }
        std::vector<std::string>& out = plan.outputs[r];
        plan.kept[r].assign(inputs.size(), -1);
        for (size_t p = 0; p < slots.size(); ++p) {
            if (slots[p] == nullptr) continue;
            const int position = static_cast<int>(out.size());
            if (p < inputs.size() && slots[p] == &inputs[p]) plan.kept[r][p] = position;
            // A set's own place: its home, or where it moved.
            if (!plan.positions.count(owners[p]) || static_cast<int>(p) == owners[p]->home)
                plan.positions[owners[p]] = position;
            out.push_back(*slots[p]);
        }
    }
    if (plan.merged > 0) plan.changed = true;
    for (CLeaf& leaf : leaves) leaf.set = survivorOf[leaf.set];
    return plan;
}

int WriteBackPlan::PositionOf(const HostRecords& records, const CLeaf& leaf) const {
    const HostFile& file = records.phases[leaf.record].projects[leaf.project].files[leaf.file];
    const int input = file.indices[leaf.config];
    const int kept = this->kept[leaf.record][static_cast<size_t>(input)];
    return kept >= 0 ? kept : positions.at(leaf.set);
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
        int32_t position = plan.PositionOf(records, leaf);
        file.slotB[leaf.config] = position;
        if (file.slotA != nullptr) file.slotA[leaf.config] = position;
    }
    return true;
}

} // namespace quorle::sheet
