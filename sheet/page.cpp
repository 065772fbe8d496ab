#include "sheet/page.h"

#include "sheet/bindings.h"

namespace quorle::sheet {

std::optional<size_t> CPage::FindControl(const std::string& name) const {
    const auto& controls = Controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (!controls[i].key.empty() && controls[i].key == name) return i;
    for (size_t i = 0; i < controls.size(); ++i)
        if (!controls[i].hidden && PlainLabel(controls[i].label) == name) return i;
    return std::nullopt;
}

std::optional<size_t> CPage::FindControlWriting(const std::string& key) const {
    const auto& controls = Controls();
    for (size_t i = 0; i < controls.size(); ++i) {
        for (const std::string& token : controls[i].tokens)
            if (KeyOfToken(token) == key) return i;
    }
    return std::nullopt;
}

} // namespace quorle::sheet
