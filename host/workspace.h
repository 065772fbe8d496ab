// The workspace file: what the IDE persists for a workspace, as JSON.
//
//   {
//     "workspace": "demo", "settings": "demo",
//     "toolchain": "Dravik GNUCORVO [ELF]", "cpuSeries": "CORVO",
//     "toolchainDir": "../toolchain",
//     "launcher": "ccache",   (or words: ["ccache", "-d", "/cache"])
//     "placeholders": { "BOARD": "evb1" },
//     "phases": ["GNU Library Generator", "GNU Compiler", "GNU Assembler", "GNU Linker"],
//     "projects": [ {
//       "name": "demo", "dir": "demo",
//       "configurations": { "DEBUG": "Debug", "RELEASE": "Release" },
//       "files": ["src/main.c", "src/start.s"],
//       "options": [
//         { "phase": "Compiler", "fileType": "C source file", "config": "DEBUG", "value": "..." },
//         { "phase": "Compiler", "file": "src/main.c", "value": "..." },
//         { "phase": "Linker", "value": "..." } ] } ]
//   }
//
// Relative directories are relative to the directory of the workspace file.
// Keys the host does not know are errors, so a misspelling is not ignored;
// so is a NUL character ("\u0000") in any text, which no text handed on
// could carry.
// An option entry applies to every configuration unless it names one; a
// file entry beats a file-type entry, and an entry for the configuration
// beats one for all. Missing option strings come from the plug-in's defaults.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorle::host {

struct OptionEntry {
    std::string phase;    // a phase name or its suffix ("Compiler")
    std::string fileType; // empty: any
    std::string file;     // empty: any; as listed in "files"
    std::string config;   // empty or "*": any
    std::string value;
};

struct Configuration {
    std::string name;
    std::string dir; // relative to the project directory
};

struct Project {
    std::string name;
    std::string dir; // absolute
    std::vector<Configuration> configurations;
    std::vector<std::string> files; // as written, relative to the project directory
    std::vector<OptionEntry> options;
};

struct Workspace {
    std::string path; // the workspace file, absolute
    std::string dir;  // its directory
    std::string name;
    std::string settingsName;
    std::string toolchainName;
    std::string cpuSeries;
    std::string toolchainDir; // absolute; empty when not given
    // Words put in front of every compile and assemble: "ccache", or
    // ["ccache", "--some-option"].
    std::vector<std::string> launcher;
    std::vector<std::pair<std::string, std::string>> placeholders;
    std::vector<std::string> phases;
    std::vector<Project> projects;
};

// The phases a workspace uses when it names none.
const std::vector<std::string>& DefaultPhaseNames();

// Parses a workspace text; `path` is the file it came from. Returns nullopt
// and sets `error` for malformed input.
std::optional<Workspace> ParseWorkspace(const std::string& text, const std::string& path,
                                        std::string& error);
std::optional<Workspace> LoadWorkspace(const std::string& path, std::string& error);

// A launcher word the host can hand on: not empty, no double quote (the
// process runner's command line has no way to carry one). False, with
// `error` set, otherwise.
bool LauncherWordOk(const std::string& word, std::string& error);

// True when an option entry's phase names `phaseName` (equal or a suffix).
bool PhaseMatches(const std::string& entryPhase, const std::string& phaseName);

// The stored option string for a step, or nullopt when the plug-in's default
// applies. `file` empty for the single steps (linker, generator).
std::optional<std::string> FindOptions(const Project& project, const std::string& phaseName,
                                       const std::string& config, const std::string& fileType,
                                       const std::string& file);

} // namespace quorle::host
