// Syntax-colouring rules for the host's editor.
#pragma once

#include <string>
#include <string_view>

namespace quorle::output {

// The colouring text for a host file-type name (compared exactly), or an
// empty text for a type the plug-in does not colour.
const std::string& ColouringText(std::string_view fileType);

} // namespace quorle::output
