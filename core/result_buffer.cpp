#include "core/result_buffer.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace quorle {
namespace {

int32_t ClampSize(size_t size) {
    return size > static_cast<size_t>(std::numeric_limits<int32_t>::max())
               ? std::numeric_limits<int32_t>::max()
               : static_cast<int32_t>(size);
}

// Stores the required size; true when the buffer can take it.
bool Fits(size_t required, char* buffer, int32_t* length) {
    if (length == nullptr) return false;
    int32_t capacity = *length;
    *length = ClampSize(required);
    if (buffer == nullptr || capacity < 0) return false;
    return static_cast<size_t>(capacity) >= required;
}

void NewlinesToNul(char* begin, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (begin[i] == '\n') begin[i] = '\0';
}

} // namespace

int CopyListForm(std::string_view text, char* buffer, int32_t* length) {
    if (!Fits(text.size(), buffer, length)) return 1;
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
    NewlinesToNul(buffer, text.size());
    return 0;
}

int CopyStringForm(std::string_view text, char* buffer, int32_t* length) {
    if (!Fits(text.size() + 1, buffer, length)) return 1;
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return 0;
}

int CopyStringThenListForm(std::string_view text, char* buffer, int32_t* length) {
    if (CopyStringForm(text, buffer, length) != 0) return 1;
    NewlinesToNul(buffer, text.size());
    return 0;
}

char* AllocateHostText(std::string_view text) {
    char* block = static_cast<char*>(std::calloc(text.size() + 1, 1));
    if (block != nullptr && !text.empty()) std::memcpy(block, text.data(), text.size());
    return block;
}

} // namespace quorle
