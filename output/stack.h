// The stack information query: the GNU tools produce no stack information
// file, so the answer is always the empty text.
#pragma once

#include <string>
#include <string_view>

namespace quorle::output {

std::string StackInformationFile(std::string_view options);

} // namespace quorle::output
