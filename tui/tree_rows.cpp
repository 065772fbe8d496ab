#include "tui/tree_rows.h"

#include <algorithm>

namespace quorle::tui {
namespace {

void Walk(const sheet::TreeNode& node, sheet::NodeKind parent, int depth,
          const std::set<std::string>& folded, std::vector<TreeRow>& rows) {
    std::string id = NodeId(node);
    bool isFolded = !node.children.empty() && folded.count(id) != 0;
    rows.push_back(TreeRow{&node, depth, isFolded, id, parent});
    if (isFolded) return;
    for (const sheet::TreeNode& child : node.children)
        Walk(child, node.kind, depth + 1, folded, rows);
}

} // namespace

std::string TreeLabel(const std::string& label) {
    std::string text = label.substr(std::min(label.size(), label.find_first_not_of(' ')));
    if (!text.empty() && text[0] == '_') return text.substr(1);
    size_t mark = text.find(" _");
    if (mark == std::string::npos) return text;
    return text.substr(0, mark) + " (" + text.substr(mark + 2) + ")";
}

std::string NodeId(const sheet::TreeNode& node) {
    return std::to_string(static_cast<int>(node.kind)) + "|" + std::to_string(node.record) + "|" +
           node.project + "|" + node.target + "|" + node.label;
}

sheet::NodeRef RefOf(const sheet::TreeNode& node) {
    return sheet::NodeRef{node.kind, node.record, node.project, node.target};
}

std::vector<TreeRow> FlattenTree(const sheet::TreeNode& root, const std::set<std::string>& folded) {
    std::vector<TreeRow> rows;
    Walk(root, sheet::NodeKind::AllProjects, 0, folded, rows);
    return rows;
}

std::string TreeRowText(const TreeRow& row, const std::string& phaseShown) {
    std::string text(static_cast<size_t>(row.depth) * 2, ' ');
    if (row.node->children.empty())
        text += "  "; // a leaf has no fold mark: half its room, to keep the pane narrow
    else
        text += row.folded ? "[+] " : "[-] ";
    text += TreeLabel(row.node->label);
    if (!phaseShown.empty()) text += " (" + phaseShown + ")";
    return text;
}

} // namespace quorle::tui
