// The text of a selection tree item, made without windows so that it is
// tested everywhere.
#pragma once

#include <string>

#include "sheet/tree.h"

namespace quorle::wingui {

// A level's name (" _File Type Level", " _Project level", " _All Project")
// carries an "_" before its mnemonic letter and a blank that joins it to
// the type's name; a tree item has no mnemonic, so both go. Names of
// projects and files show as they are. `phase`, the phase the face names
// beside the node (CSheetFace::PhaseShownBeside), follows in parentheses.
std::string TreeItemText(const sheet::TreeNode& node, const std::string& phase);

} // namespace quorle::wingui
