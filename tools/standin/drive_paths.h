// Under Wine the plug-in hands the stand-in Windows paths ("Z:\tmp\x.c", or
// the short form "Z:\TMP\LONGNA~1\X.C"); the stand-in is a host program and
// needs the host's paths, the way `winepath -u` gives them. Drive Z: is the
// host's root; no other drive is mapped.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorle::standin {

// The 8.3 name Wine makes up for a long file name ("LONGF~XY.TXT").
std::string WineShortName(const std::string& name);

// Whether `text` starts with a drive ("Z:" followed by a separator or nothing).
bool StartsWithDrive(const std::string& text);

// The host path of a drive path: "Z:" is "/", each component is found the
// way Windows finds it (exactly, else regardless of case, else by its short
// name); components that do not exist yet (outputs) are kept as written.
// nullopt with `error` set for another drive.
std::optional<std::string> HostPathOf(const std::string& drivePath, std::string& error);

// Every drive path in the arguments mapped: a whole argument, or one after
// "=" or "," ("--output=Z:\...", "-Wl,-Map=Z:\..."), or joined to a short
// option ("-IZ:\...", "-oZ:\...", "-MFZ:\..."). Macro definitions are the
// user's text and stay as they are. Sets `error` for an unmapped drive.
std::vector<std::string> HostPaths(const std::vector<std::string>& args, std::string& error);

// A linker script with every quoted drive path ("INPUT("Z:\\x\\a.o")") mapped.
// Sets `error` for an unmapped drive.
std::string HostPathsInScript(const std::string& script, std::string& error);

} // namespace quorle::standin
