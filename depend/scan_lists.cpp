#include "depend/scan_lists.h"

#include <algorithm>

#include "core/ascii_text.h"
#include "core/record_check.h"
#include "core/records.h"
#include "core/result_buffer.h"

namespace quorle::depend {
namespace {

int Store(const std::string& text, char** result) {
    char* block = AllocateHostText(text);
    if (block == nullptr) return 1;
    *result = block;
    return 0;
}

} // namespace

int HandOutLines(std::string_view text, char** result) {
    std::string block(text);
    std::replace(block.begin(), block.end(), '\n', '\0');
    return Store(block, result);
}

int HandOutItems(const std::vector<std::string>& items, char** result) {
    std::string block;
    for (const std::string& item : items) block.append(item).push_back('\0');
    return Store(block, result);
}

bool ValidProjectInfo(const QuorleProjectInfo* info) {
    return HasRecordSize(info);
}

bool ValidRequest(const QuorleDependencyRequest* request) {
    return HasRecordSize(request);
}

std::string LowerPath(std::string_view path) {
    return core::ToAsciiLower(path);
}

} // namespace quorle::depend
