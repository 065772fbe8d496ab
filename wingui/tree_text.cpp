#include "wingui/tree_text.h"

namespace quorle::wingui {

std::string TreeItemText(const sheet::TreeNode& node, const std::string& phase) {
    std::string text;
    const bool level = node.kind == sheet::NodeKind::AllProjectLevel ||
                       node.kind == sheet::NodeKind::FileTypeLevel ||
                       node.kind == sheet::NodeKind::ProjectLevel;
    if (!level) {
        text = node.label;
    } else {
        for (size_t i = 0; i < node.label.size(); ++i) {
            const char c = node.label[i];
            // A mark starts a word and stands before a letter.
            const bool startsWord = i == 0 || node.label[i - 1] == ' ';
            if (c == '_' && startsWord && i + 1 < node.label.size() && node.label[i + 1] != ' ')
                continue;
            text += c;
        }
        text.erase(0, text.find_first_not_of(' '));
    }
    if (!phase.empty()) text += " (" + phase + ")";
    return text;
}

} // namespace quorle::wingui
