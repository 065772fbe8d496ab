// Placeholders in the list editors: the entries offered by label when a
// directory or file entry is added, and the expanded form a list shows with
// "Display placeholder as expanding" (value 2 of the settings value). The
// entries themselves are always stored as typed, placeholders unexpanded.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sheet/page.h"

namespace quorle::sheet {

struct PlaceholderOffer {
    std::string label; // what the view shows
    std::string text;  // what goes into the entry; empty for "Custom directory"
};

// The fixed offers, then "Custom directory", then one `$(name)` per user
// placeholder of field 13 of the project record.
std::vector<PlaceholderOffer> PlaceholderOffers(const QuorleProjectInfo* info);

// Name and value of each user placeholder ("name|value" entries of a text
// list).
std::vector<std::pair<std::string, std::string>> UserPlaceholders(const QuorleProjectInfo* info);

// Every placeholder of `entry` whose value is known replaced by the value.
std::string ExpandPlaceholders(const std::string& entry, const QuorleProjectInfo* info);

// What a list shows for its entries: expanded when the settings value asks
// for it, otherwise the entries as stored.
std::vector<std::string> DisplayedEntries(const std::vector<std::string>& entries,
                                          const SharedState& shared);

} // namespace quorle::sheet
