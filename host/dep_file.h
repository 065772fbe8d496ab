// The dependency file a compiler writes as a side effect of the compile
// (gcc does so when SUNPRO_DEPENDENCIES names a file), read as make rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorle::host {

// The environment entry that makes gcc write the make rule of its
// compile, system headers included, to `depFile`.
std::string DependencyEnvironment(const std::string& depFile, const std::string& target);

// The prerequisites of every rule of a make-rule text, in order and without
// repeats: targets dropped, backslash-newline continuations joined, "\\ "
// read as a blank and "$$" as "$".
std::vector<std::string> ParseDependencyRules(std::string_view text);

} // namespace quorle::host
