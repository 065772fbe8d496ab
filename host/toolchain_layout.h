// Lays out the stand-in GNU cross toolchain the way the plug-in expects an
// installation directory: for each family "<dir>/<triplet>/bin/<triplet>-
// <tool>.exe" for gcc, g++, as, ld, ar, objcopy and the library generator,
// plus the include, optlibinc, library and libexec directories. For a real
// target only the family of its profile is laid out, and the file
// "<dir>/<triplet>/standin-target" names the target.
#pragma once

#include <string>
#include <vector>

namespace quorle::host {

const std::vector<std::string>& StandinTriplets();
const std::vector<std::string>& StandinTools();

// `program` is the stand-in toolchain program, `librarySources` the
// directory of the library generator's C sources. Every tool name is a
// symbolic link to `program` (a copy where links are not possible).
// `target` empty: the machine's own tools for all four families.
bool LayOutToolchain(const std::string& dir, const std::string& program,
                     const std::string& librarySources, std::string& error,
                     const std::string& target = "");

// The names of the targets `--target` takes.
std::vector<std::string> TargetNames();

} // namespace quorle::host
