// The selection tree as rows of the terminal: depth first, children of a
// folded node left out.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "sheet/tree.h"

namespace quorle::tui {

struct TreeRow {
    const sheet::TreeNode* node = nullptr;
    int depth = 0;
    bool folded = false;
    std::string id; // stays the same when the tree is built again
    sheet::NodeKind parent = sheet::NodeKind::AllProjects;
};

// A node's identity across rebuilds of the tree (configuration changes).
std::string NodeId(const sheet::TreeNode& node);
sheet::NodeRef RefOf(const sheet::TreeNode& node);

std::vector<TreeRow> FlattenTree(const sheet::TreeNode& root, const std::set<std::string>& folded);

// A node's label as the terminal shows it: the window face's underscore
// marks taken out; a level's name after a type goes in parentheses
// ("C source file _File Type Level" gives "C source file (File Type Level)").
std::string TreeLabel(const std::string& label);

// "[+] " for a folded node, "[-] " for an open one, two blanks for a leaf; then
// the label, indented by depth, and the phase the face names beside it.
std::string TreeRowText(const TreeRow& row, const std::string& phaseShown = "");

} // namespace quorle::tui
