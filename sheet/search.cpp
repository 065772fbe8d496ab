#include "sheet/search.h"

#include <algorithm>

#include "core/ascii_text.h"

namespace quorle::sheet {

std::vector<std::string> SearchWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    auto end = [&] {
        size_t first = word.find_first_not_of('-');
        if (first != std::string::npos) words.push_back(word.substr(first));
        word.clear();
    };
    for (char c : core::ToAsciiLower(text)) {
        // Dashes and dots belong to flags and section names (-fno-common, .text).
        if (core::IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_')
            word += c;
        else
            end();
    }
    end();
    return words;
}

std::vector<size_t> SearchControls(const std::vector<FaceControl>& controls,
                                   const std::string& text) {
    const std::vector<std::string> wanted = SearchWords(text);
    std::vector<size_t> hits;
    if (wanted.empty()) return hits;
    for (size_t i = 0; i < controls.size(); ++i) {
        const FaceControl& c = controls[i];
        std::string all = c.label + "\n" + c.key + "\n" + c.help;
        for (const std::string& v : c.valueLabels) all += "\n" + v;
        const std::vector<std::string> words = SearchWords(all);
        // Every word typed begins some word of the control.
        bool every = std::all_of(wanted.begin(), wanted.end(), [&](const std::string& w) {
            return std::any_of(words.begin(), words.end(), [&](const std::string& have) {
                return have.compare(0, w.size(), w) == 0;
            });
        });
        if (every) hits.push_back(i);
    }
    return hits;
}

std::string SearchHitText(const FaceControl& control) {
    std::string text = control.tabTitle;
    if (!control.categoryLabel.empty()) text += " / " + control.categoryLabel;
    text += " / " + control.label;
    if (!control.help.empty()) text += "  (" + control.help + ")";
    return text;
}

} // namespace quorle::sheet
