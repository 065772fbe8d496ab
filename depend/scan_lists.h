// Handing a dependency list to the host.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct QuorleProjectInfo;
struct QuorleDependencyRequest;

namespace quorle::depend {

// Stores a heap block holding `text` with every line feed turned into NUL
// (plus the block's own closing NUL) in *result. 1 when out of memory.
int HandOutLines(std::string_view text, char** result);
// Stores a block holding each item followed by NUL (plus the closing NUL):
// the compiler's list form. Items keep every byte they hold.
int HandOutItems(const std::vector<std::string>& items, char** result);

// The record checks of the phases that check them.
bool ValidProjectInfo(const QuorleProjectInfo* info);
bool ValidRequest(const QuorleDependencyRequest* request);

// Lower case, for the case-blind path sets.
std::string LowerPath(std::string_view path);

} // namespace quorle::depend
