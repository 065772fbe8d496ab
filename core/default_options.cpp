#include "core/default_options.h"

#include "core/ascii_text.h"

#include "core/phase.h"

namespace quorle {
namespace {

// Complete option strings, one per distinct row content.
#define QUORLE_OBJ_PATH "\"$(CONFIGDIR)\\$(FILELEAF).o\""
constexpr std::string_view kGenerator =
    "[V|VERSION|2] [S|OUTPUTPATH|\"$(CONFIGDIR)\\lib$(PROJECTNAME).a\"]";
// Rows that name the object path under OUTPUTPATH leave the models' own
// default object path in force; the strings stay as hosts have stored them.
constexpr std::string_view kCompilerDefault =
    "[V|VERSION|2] [B|DEBUG|1] [S|OUTPUTPATH|" QUORLE_OBJ_PATH "] [B|LIST|0] [B|CHGINCPATH|1]";
constexpr std::string_view kCompilerDebug =
    "[V|VERSION|2] [B|DEBUG|1] [S|OBJPATH|" QUORLE_OBJ_PATH "] [B|LIST|0] [B|CHGINCPATH|1]";
constexpr std::string_view kCSourceRelease =
    "[V|VERSION|2] [S|OBJPATH|" QUORLE_OBJ_PATH "] [S|OBJPATH|" QUORLE_OBJ_PATH
    "] [B|LIST|0] [B|CHGINCPATH|1]";
constexpr std::string_view kCompilerRelease =
    "[V|VERSION|2] [S|OBJPATH|" QUORLE_OBJ_PATH "] [B|LIST|0] [B|CHGINCPATH|1]";
constexpr std::string_view kAssemblerDebug =
    "[V|VERSION|2] [B|DEBUG|1] [S|OUTPUTPATH|" QUORLE_OBJ_PATH
    "] [B|LIST|0] [B|CHGINCPATH|1] [B|ERRORPATH|1]";
constexpr std::string_view kAssemblerRelease =
    "[V|VERSION|2] [B|DEBUG|0] [S|OUTPUTPATH|" QUORLE_OBJ_PATH
    "] [B|LIST|0] [B|CHGINCPATH|1] [B|ERRORPATH|1]";
constexpr std::string_view kLinkerDebug =
    "[V|VERSION|2] [B|OPTIMIZE|0] [B|DEBUG|1] [S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]";
constexpr std::string_view kLinkerRelease =
    "[V|VERSION|2] [B|OPTIMIZE|0] [B|DEBUG|0] [S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]";
#undef QUORLE_OBJ_PATH

struct DefaultRow {
    int phase;
    std::string_view fileTypes; // comma-separated; empty for phases without types
    std::string_view configuration;
    std::string_view options;
};

// Searched in this order; the first matching row wins.
constexpr DefaultRow kDefaultRows[] = {
    {kPhaseGenerator, "", "DEFAULT", kGenerator},
    {kPhaseGenerator, "", "DEBUG", kGenerator},
    {kPhaseGenerator, "", "RELEASE", kGenerator},
    {kPhaseCompiler, "C source file", "DEFAULT", kCompilerDefault},
    {kPhaseCompiler, "C source file", "DEBUG", kCompilerDebug},
    {kPhaseCompiler, "C source file", "RELEASE", kCSourceRelease},
    {kPhaseCompiler, "C++ source file", "DEFAULT", kCompilerDebug},
    {kPhaseCompiler, "C++ source file", "DEBUG", kCompilerDebug},
    {kPhaseCompiler, "C++ source file", "RELEASE", kCompilerRelease},
    {kPhaseCompiler, "Preprocess Assembly file", "DEFAULT", kCompilerDebug},
    {kPhaseCompiler, "Preprocess Assembly file", "DEBUG", kCompilerDebug},
    {kPhaseCompiler, "Preprocess Assembly file", "RELEASE", kCompilerRelease},
    {kPhaseAssembler, "Assembly source file", "DEFAULT", kAssemblerDebug},
    {kPhaseAssembler, "Assembly source file", "DEBUG", kAssemblerDebug},
    {kPhaseAssembler, "Assembly source file", "RELEASE", kAssemblerRelease},
    {kPhaseLinker, "", "DEFAULT", kLinkerDebug},
    {kPhaseLinker, "", "DEBUG", kLinkerDebug},
    {kPhaseLinker, "", "RELEASE", kLinkerRelease},
};

bool ListContains(std::string_view commaList, std::string_view name) {
    while (true) {
        size_t comma = commaList.find(',');
        if (commaList.substr(0, comma) == name) return true;
        if (comma == std::string_view::npos) return false;
        commaList.remove_prefix(comma + 1);
    }
}

bool UsesFileTypes(PhaseIndex phase) {
    return phase == kPhaseCompiler || phase == kPhaseAssembler;
}

} // namespace

std::string DefaultOptions(PhaseIndex phaseIndex, std::string_view configuration,
                           std::string_view fileType) {
    for (const DefaultRow& row : kDefaultRows) {
        if (row.phase != phaseIndex) continue;
        bool match = UsesFileTypes(phaseIndex)
                         ? core::EqualsIgnoringCase(row.configuration, configuration) &&
                               ListContains(row.fileTypes, fileType)
                         : row.configuration == configuration;
        if (match) return std::string(row.options);
    }
    return {};
}

} // namespace quorle
