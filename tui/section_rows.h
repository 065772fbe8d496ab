// The lists of the section pages as the terminal edits them: which list a
// control is, and its rows read back into the words of a section command.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sheet/control.h"

namespace quorle::tui {

enum class SectionList { None, Groups, Regions, Starts };

// The section list a control shows, or None for an ordinary list.
SectionList SectionListOf(const sheet::ControlDef& def);

// "name|start|end".
struct RegionFields {
    std::string name, start, end;
};
std::optional<RegionFields> ParseRegionRow(const std::string& row);

// "name|placement|text", indented two blanks a level.
struct GroupFields {
    int depth = 0;
    std::string name, placement, text;
};
std::optional<GroupFields> ParseGroupRow(const std::string& row);

// "group=address"; blanks around either part are dropped.
std::optional<std::pair<std::string, std::string>> ParseStartRow(const std::string& row);

// The placement words of a group and what the terminal calls them.
const std::vector<std::string>& PlacementWords();
const std::vector<std::string>& PlacementNames();
// The prompt for a placement's text.
std::string PlacementPrompt(const std::string& word);

// Words of a typed file list ("a.o b.o"); "All-files" when it is blank.
std::vector<std::string> FileWords(const std::string& typed);

} // namespace quorle::tui
