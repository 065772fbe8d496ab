// Copying result texts into the host's buffers.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorle {

// The three copy forms. Each stores the required size through `length`
// (when it is not null), and copies only when the capacity suffices;
// a negative capacity is too small. Returns 0 on success, 1 otherwise.

// Text without NUL; every newline becomes NUL. Required size: text length.
int CopyListForm(std::string_view text, char* buffer, int32_t* length);
// Text and its NUL; newlines kept. Required size: length + 1.
int CopyStringForm(std::string_view text, char* buffer, int32_t* length);
// Text and its NUL; newlines before the NUL become NUL. Required: length + 1.
int CopyStringThenListForm(std::string_view text, char* buffer, int32_t* length);

// A zero-filled run-time-heap block one byte longer than the text, holding
// the text; released by the host through FreeSimpleType. Null when out of memory.
char* AllocateHostText(std::string_view text);

} // namespace quorle
