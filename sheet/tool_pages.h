// The category pages of the four tool tabs, in the order of their Category
// selectors. Sub-pages follow the page they belong to and name it as parent.
#pragma once

#include <memory>
#include <vector>

#include "sheet/page_engine.h"

namespace quorle::sheet {

std::vector<PageData> CppPages();
std::vector<PageData> AsmPages();
// The section pages are not plain data; see LnkPageObjects.
std::vector<PageData> LnkPages();
std::vector<PageData> LbgPages();

// The pages of a tool tab (by phase index 0-3), ready to show.
std::vector<std::unique_ptr<CPage>> ToolTabPages(int phase);

} // namespace quorle::sheet
