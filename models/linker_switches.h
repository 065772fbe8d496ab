// The linker's on/off switches, one row each: the key in the option string,
// ld's spelling, and the options editor's label. A new switch is one row here;
// the model, the command line and the editor page all walk this table.
#pragma once

#include <iterator>

#include "models/flag_option.h"

namespace quorle::models {

inline constexpr FlagOption kLinkerSwitches[] = {
    {"B|BSTATIC|1", "-Bstatic", "Link against static libraries only (-Bstatic)"},
    {"B|BDYNA|1", "-Bdynamic", "Link against shared libraries (-Bdynamic)"},
    {"B|BSYM|1", "-Bsymbolic", "Bind global references locally (-Bsymbolic)"},
    {"B|SPTOSYM|1", "-d", "Assign space to common symbols (-d)"},
    {"B|SETSRW|1", "-N", "Text and data readable and writable (-N)"},
    {"B|TRONLY|1", "-n", "Text read-only, not page-aligned (-n)"},
    {"B|REXE|1", "-noinhibit-exec", "Keep the output after errors (-noinhibit-exec)"},
    {"B|OPTMEM|1", "-no-keep-memory", "Use less memory, run slower (-no-keep-memory)"},
    {"B|STATS|1", "-stats", "Print statistics (-stats)"},
    {"B|WSYMCOM|1", "-warn-common", "Warn about common symbols (-warn-common)"},
    {"B|WGLOCON|1", "-warn-constructors", "Warn about global constructors (-warn-constructors)"},
    {"B|WONCEU|1", "-warn-once", "Warn once per undefined symbol (-warn-once)"},
    {"B|DTEMPLS|1", "-X", "Delete temporary local symbols (-X)"},
    {"B|DELLS|1", "-x", "Delete all local symbols (-x)"},
    {"B|GENREL|1", "-r", "Relocatable output (-r)"},
    {"B|RELREF|1", "-Ur", "Relocatable output, C++ constructors resolved (-Ur)"},
    {"B|ODEBSYM|1", "-S", "Omit debugger symbols (-S)"},
    {"B|OSYM|1", "-s", "Omit all symbols (-s)"},
    {"B|SBYFILE|1", "-split-by-file", "Split output sections by file (-split-by-file)"},
    {"B|OUTTRAD|1", "-traditional-format", "Traditional output format (-traditional-format)"},
    {"B|GCSECTS|1", "--gc-sections",
     "Enable garbage collection of unused input sections (--gc-sections)"},
};
inline constexpr int kLinkerSwitchCount = static_cast<int>(std::size(kLinkerSwitches));
inline constexpr auto kLinkerSwitchKeys = KeysOf(kLinkerSwitches);
inline constexpr auto kLinkerSwitchFlags = FlagsOf(kLinkerSwitches);

} // namespace quorle::models
