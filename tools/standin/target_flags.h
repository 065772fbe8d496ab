// The flags that only the families' own GNU tools understand. The stand-in
// toolchain removes them before it hands the rest to the machine's tools.
#pragma once

#include <string>
#include <vector>

namespace quorle::standin {

enum class ToolKind { Compiler, Assembler, Linker, Archiver, ObjectCopier, LibraryGenerator };

// Removes the family flags of `kind` from `args` (the program name is not
// part of them). A flag that takes a value as the next argument loses it too.
std::vector<std::string> DropTargetFlags(ToolKind kind, const std::vector<std::string>& args);

} // namespace quorle::standin
