#include "sheet/page_builders.h"

#include <set>

#include "core/ascii_text.h"

namespace quorle::sheet::build {
namespace {

std::vector<std::string> Tokens(models::KeyList table) {
    std::vector<std::string> out;
    for (SV entry : table)
        if (!entry.empty()) out.emplace_back(entry);
    return out;
}

ControlDef Make(ControlKind kind, std::string label, Binding binding, std::string help) {
    ControlDef c;
    c.kind = kind;
    c.label = std::move(label);
    c.binding = std::move(binding);
    c.help = std::move(help);
    return c;
}

} // namespace

ControlDef Check(std::string label, models::KeyList table, Binding binding, std::string help) {
    ControlDef c = Make(ControlKind::Check, std::move(label), std::move(binding), std::move(help));
    c.tokens = Tokens(table);
    if (!c.tokens.empty()) c.key = KeyOfToken(c.tokens.front());
    return c;
}

ControlDef CheckToken(std::string label, SV token, Binding binding, std::string help) {
    ControlDef c = Make(ControlKind::Check, std::move(label), std::move(binding), std::move(help));
    c.key = KeyOfToken(token);
    c.tokens = {std::string(token)};
    return c;
}

ControlDef Choice(std::string label, models::KeyList table, std::vector<std::string> labels,
                  Binding binding, std::string help, bool withUnset) {
    ControlDef c = Make(ControlKind::Choice, std::move(label), std::move(binding), std::move(help));
    c.tokens = Tokens(table);
    if (!c.tokens.empty()) c.key = KeyOfToken(c.tokens.front());
    c.values = WordsOf(table);
    if (withUnset) {
        c.values.insert(c.values.begin(), "");
        labels.insert(labels.begin(), "(not set)");
    }
    c.valueLabels = std::move(labels);
    return c;
}

ControlDef Text(std::string label, SV prefix, Binding binding, std::string help) {
    ControlDef c = Make(ControlKind::Text, std::move(label), std::move(binding), std::move(help));
    c.key = KeyOfToken(prefix);
    c.tokens = {std::string(prefix)};
    return c;
}

ControlDef List(std::string label, SV prefix, Binding binding, std::string help, bool paths) {
    ControlDef c = Make(ControlKind::List, std::move(label), std::move(binding), std::move(help));
    c.key = KeyOfToken(prefix);
    c.tokens = {std::string(prefix)};
    c.pathEntries = paths;
    return c;
}

ControlDef RestoreButton() {
    ControlDef c;
    c.kind = ControlKind::Button;
    c.label = std::string("Restore &defaults");
    c.help = "Every option of this page back to its default";
    return c;
}

EnableRule While(std::string control, std::vector<std::string> values) {
    return EnableRule{std::move(control), std::move(values)};
}

void AssignMnemonics(PageData& page) {
    std::set<char> used;
    // Any marked character counts here, so that a given one is never doubled.
    auto mnemonicOf = [](const std::string& label) -> char {
        const size_t mark = MnemonicMark(label);
        return mark == std::string::npos ? '\0' : core::AsciiLower(label[mark + 1]);
    };
    // Given mnemonics first, in page order; one already taken is dropped and
    // the label gets another below.
    for (ControlDef& c : page.controls) {
        char m = mnemonicOf(c.label);
        if (m == 0) continue;
        if (used.insert(m).second) continue;
        c.label.erase(MnemonicMark(c.label), 1);
    }
    for (ControlDef& c : page.controls) {
        if (c.label.empty() || c.kind == ControlKind::Label || mnemonicOf(c.label) != 0) continue;
        // The first letter or digit not used yet; when every one of the
        // label is taken, its first (a view then cycles between them).
        size_t chosen = std::string::npos, first = std::string::npos;
        for (size_t i = 0; i < c.label.size() && chosen == std::string::npos; ++i) {
            if (!core::IsAsciiAlnum(c.label[i])) continue;
            if (first == std::string::npos) first = i;
            if (used.count(core::AsciiLower(c.label[i])) == 0) chosen = i;
        }
        if (chosen == std::string::npos) chosen = first;
        if (chosen == std::string::npos) continue;
        used.insert(core::AsciiLower(c.label[chosen]));
        c.label.insert(chosen, "&");
    }
}

PageData Finish(PageData page) {
    page.controls.push_back(RestoreButton());
    AssignMnemonics(page);
    return page;
}

} // namespace quorle::sheet::build
