#include "sheet/write_back.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

namespace quorle::sheet {

namespace {

// Equal texts of one record merge; the survivor is an unchanged set where
// there is one, else the first made.
int MergeEqualSets(size_t record, std::vector<CLeaf>& leaves) {
    std::map<std::string, COptionSet*> survivors;
    std::unordered_map<COptionSet*, std::string> texts;
    for (CLeaf& leaf : leaves) {
        if (leaf.record != record || texts.count(leaf.set) != 0) continue;
        texts.emplace(leaf.set, leaf.set->Text());
    }
    for (auto& [set, text] : texts) {
        COptionSet*& survivor = survivors[text];
        const bool unchanged = text == set->openedText;
        if (survivor == nullptr) {
            survivor = set;
            continue;
        }
        const bool survivorUnchanged = text == survivor->openedText;
        if (unchanged != survivorUnchanged ? unchanged : set->id < survivor->id) survivor = set;
    }
    for (CLeaf& leaf : leaves)
        if (leaf.record == record) leaf.set = survivors[texts[leaf.set]];
    return static_cast<int>(texts.size() - survivors.size());
}

} // namespace

WriteBackPlan PlanWriteBack(const HostRecords& records, const COptionSets& sets,
                            std::vector<CLeaf>& leaves) {
    WriteBackPlan plan;
    plan.outputs.resize(records.phases.size());
    plan.leafPositions.assign(leaves.size(), -1);
    for (size_t r = 0; r < records.phases.size(); ++r) {
        const HostPhase& phase = records.phases[r];
        const std::vector<std::string>& inputs = phase.inputs;
        plan.merged += MergeEqualSets(r, leaves);
        std::unordered_map<const COptionSet*, std::string> texts; // serialised once per set

        struct Placed {
            size_t leaf;
            int input;
            const std::string* text; // in `texts`
        };
        std::vector<Placed> placed;
        std::vector<bool> used(inputs.size(), false), kept(inputs.size(), false);
        for (size_t i = 0; i < leaves.size(); ++i) {
            const CLeaf& leaf = leaves[i];
            if (leaf.record != r) continue;
            const int input = phase.projects[leaf.project].files[leaf.file].indices[leaf.config];
            auto cached = texts.find(leaf.set);
            if (cached == texts.end()) cached = texts.emplace(leaf.set, leaf.set->Text()).first;
            placed.push_back({i, input, &cached->second});
            const size_t p = static_cast<size_t>(input);
            used[p] = true;
            if (*placed.back().text == sets.AtPosition(r, input)->openedText) kept[p] = true;
        }
        // What nobody can reach stays as the host gave it.
        for (size_t p = 0; p < inputs.size(); ++p)
            if (!used[p]) kept[p] = true;

        std::map<std::string, size_t> keptByText; // lowest kept position of a text
        for (size_t p = 0; p < inputs.size(); ++p)
            if (kept[p] && used[p])
                keptByText.emplace(sets.AtPosition(r, static_cast<int>(p))->openedText, p);

        // Slot of each placed leaf; new texts ordered by their first input
        // position, then by the set that holds them.
        std::vector<const std::string*> slots(inputs.size(), nullptr);
        for (size_t p = 0; p < inputs.size(); ++p)
            if (kept[p]) slots[p] = &inputs[p];
        std::vector<size_t> slotOf(placed.size(), 0);
        std::map<std::string, std::pair<std::pair<int, int>, std::vector<size_t>>> fresh;
        for (size_t k = 0; k < placed.size(); ++k) {
            const Placed& item = placed[k];
            const size_t p = static_cast<size_t>(item.input);
            if (*item.text == sets.AtPosition(r, item.input)->openedText) {
                slotOf[k] = p;
                continue;
            }
            plan.changed = true;
            if (auto found = keptByText.find(*item.text); found != keptByText.end()) {
                slotOf[k] = found->second;
                continue;
            }
            const std::pair<int, int> order{item.input, leaves[item.leaf].set->id};
            auto [entry, made] = fresh.try_emplace(*item.text, order, std::vector<size_t>{});
            if (!made && order < entry->second.first) entry->second.first = order;
            entry->second.second.push_back(k);
        }
        std::vector<std::pair<std::pair<int, int>, const std::string*>> newTexts;
        for (const auto& [text, entry] : fresh) newTexts.emplace_back(entry.first, &text);
        std::sort(newTexts.begin(), newTexts.end());
        size_t next = 0;
        for (const auto& [order, text] : newTexts) {
            while (next < slots.size() && slots[next] != nullptr) ++next;
            if (next == slots.size()) slots.push_back(nullptr);
            slots[next] = text;
            for (size_t k : fresh.at(*text).second) slotOf[k] = next;
        }
        // Close up the free places.
        std::vector<int> compact(slots.size(), -1);
        std::vector<std::string>& out = plan.outputs[r];
        for (size_t p = 0; p < slots.size(); ++p) {
            if (slots[p] == nullptr) continue;
            compact[p] = static_cast<int>(out.size());
            out.push_back(*slots[p]);
        }
        for (size_t k = 0; k < placed.size(); ++k) {
            const int position = compact[slotOf[k]];
            plan.leafPositions[placed[k].leaf] = position;
            if (position != placed[k].input) plan.changed = true;
        }
        if (out != inputs) plan.changed = true;
    }
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
    for (size_t i = 0; i < leaves.size(); ++i) {
        const CLeaf& leaf = leaves[i];
        const HostFile& file = records.phases[leaf.record].projects[leaf.project].files[leaf.file];
        int32_t position = plan.leafPositions[i];
        file.slotB[leaf.config] = position;
        if (file.slotA != nullptr) file.slotA[leaf.config] = position;
    }
    return true;
}

} // namespace quorle::sheet
