#include "sheet/tool_pages.h"

#include "sheet/section_pages.h"

namespace quorle::sheet {

std::vector<std::unique_ptr<CPage>> ToolTabPages(int phase) {
    std::vector<PageData> data;
    switch (phase) {
    case 0:
        data = CppPages();
        break;
    case 1:
        data = AsmPages();
        break;
    case 2:
        data = LnkPages();
        break;
    case 3:
        data = LbgPages();
        break;
    default:
        break;
    }
    std::vector<std::unique_ptr<CPage>> pages;
    for (PageData& page : data) pages.push_back(std::make_unique<CControlPage>(std::move(page)));
    if (phase == 2)
        for (auto& page : SectionPages()) pages.push_back(std::move(page));
    return pages;
}

} // namespace quorle::sheet
