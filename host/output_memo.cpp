#include "host/output_memo.h"

#include "core/text_replace.h"

namespace quorle::host {

namespace {

// Letters only, so that neither a change of case nor a reading as a number
// or an extension can treat it unlike a real leaf without the check seeing.
constexpr std::string_view kStandIn = "QuorleStandInLeaf";

bool PlainLeaf(const std::string& leaf) {
    if (leaf.empty()) return false;
    for (char c : leaf) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '-';
        if (!ok) return false;
    }
    return true;
}

std::vector<std::string> Respelt(const std::vector<std::string>& answer, const std::string& leaf) {
    std::vector<std::string> list;
    list.reserve(answer.size());
    for (const std::string& entry : answer)
        list.push_back(core::ReplacedAll(entry, kStandIn, leaf));
    return list;
}

} // namespace

OutputMemo::List OutputMemo::Direct(const std::string& options, const Ask& ask) {
    ++asked_;
    return ask(options);
}

OutputMemo::List OutputMemo::Outputs(const std::string& key, const std::string& leaf,
                                     const std::string& options, const Spell& spell,
                                     const Ask& ask) {
    if (!PlainLeaf(leaf) || key.find(kStandIn) != std::string::npos) return Direct(options, ask);
    auto [it, fresh] = entries_.try_emplace(key);
    Entry& entry = it->second;
    if (fresh) {
        entry.options = spell(std::string(kStandIn));
        List direct = Direct(options, ask);
        if (!direct || core::ReplacedAll(entry.options, kStandIn, leaf) != options) return direct;
        List answer = Direct(entry.options, ask);
        entry.usable = answer && Respelt(*answer, leaf) == *direct;
        if (entry.usable) entry.answer = std::move(*answer);
        return direct;
    }
    // The step's string must be the stand-in's with this leaf, byte for byte:
    // a placeholder whose value holds the stand-in's text would break that.
    if (!entry.usable || core::ReplacedAll(entry.options, kStandIn, leaf) != options)
        return Direct(options, ask);
    return Respelt(entry.answer, leaf);
}

} // namespace quorle::host
