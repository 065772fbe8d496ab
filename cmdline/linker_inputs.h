// The host's linker inputs ("path|kind name") and their order: the link
// order lists of the linker options model decide where each input goes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "models/linker_model.h"

namespace quorle::cmdline {

// Input kinds, by index 0-3.
enum InputKind : int { kObjectFile, kLibraryFile, kRelocatableFile, kBinaryFile };

inline constexpr std::string_view kInputKindNames[] = {"Object file", "Library file",
                                                       "Relocatable file", "Binary file"};
// Prefix of each kind for a file named on a command line.
inline constexpr std::string_view kInputKindPrefixes[] = {"", "-l ", "-input=", "-binary="};

// Index of a kind name, or -1.
int InputKindIndex(std::string_view kindName);

// Splits an entry at its last "|"; false when it has none.
bool SplitInputEntry(std::string_view entry, std::string_view& path, std::string_view& kind);

// The file name and extension of a path, lower case (directories ignored).
std::string LeafKey(std::string_view path);

// Reorders `inputs` by the model's libraries, objects and binary files lists:
// each input whose file name matches an entry of a list takes that entry's
// place (libraries first, then objects, then binaries, inputs walked from the
// last); the lists, with the matched paths, are stored back into the model.
// Inputs left over join the list of their kind. The result is binaries, then
// objects, then libraries. Each list entry takes at most one input, so two
// inputs of the same name both stay in the link. Runs in linear time.
// Returns false (inputs unchanged) when an entry has no "|".
bool ReorderInputs(models::LinkerModel& model, std::vector<std::string>& inputs);

} // namespace quorle::cmdline
