#include "tui/search.h"

#include <algorithm>
#include <cctype>

namespace quorle::tui {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::vector<size_t> SearchControls(const std::vector<sheet::FaceControl>& controls,
                                   const std::string& text) {
    std::vector<size_t> hits;
    const std::string wanted = Lower(text);
    if (wanted.find_first_not_of(' ') == std::string::npos) return hits;
    for (size_t i = 0; i < controls.size(); ++i) {
        const sheet::FaceControl& c = controls[i];
        for (const std::string* field : {&c.label, &c.key, &c.help}) {
            if (Lower(*field).find(wanted) == std::string::npos) continue;
            hits.push_back(i);
            break;
        }
    }
    return hits;
}

std::string SearchHitText(const sheet::FaceControl& control) {
    std::string text = control.tabTitle;
    if (!control.categoryLabel.empty()) text += " / " + control.categoryLabel;
    text += " / " + control.label;
    if (!control.help.empty()) text += "  (" + control.help + ")";
    return text;
}

} // namespace quorle::tui
