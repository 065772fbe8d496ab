// Writing the generated ld script to a file: the linker pre-phase's script
// and the export of the layout to a section information file (".gsi").
#pragma once

#include <string>
#include <string_view>

#include "sections/ld_script.h"

struct QuorleProjectInfo;

namespace quorle::sections {

enum class ScriptFileResult {
    Ok,
    HeaderFailed,   // the file could not be created or its first line not written
    SectionsFailed, // a write inside MEMORY or SECTIONS failed; the file keeps the rest
};

struct ScriptTarget {
    std::string effectiveToolchain;
    int cpuType = 0;
    bool normalMode = false; // Pelka normal mode
};

// Creates (or replaces) `path` in text mode and writes the architecture line
// and the layout. Problems met while resolving placeholders are stored in
// `problems`; no message is shown here.
ScriptFileResult WriteScriptFile(const std::string& path, const SectionLayout& layout,
                                 const ScriptTarget& target, const PlaceholderResolver& resolver,
                                 ScriptProblems* problems = nullptr);

// Resolves "$(WORKSPDIR)", "$(PROJDIR)", "$(CONFIGDIR)", "$(VELMORDIR)",
// "$(TCINSTALL)", "$(TEMPDIR)" and "$(PROJECTNAME)" from the project
// information record; a placeholder whose field is null stays as it is.
PlaceholderResolver ProjectResolver(const QuorleProjectInfo& info);

// What a script write did and the messages to show for it, in order.
struct ScriptWrite {
    bool ok = false;
    UserMessages messages;
};

// The options editor's export: writes the script to `path`; the messages
// are the export's (write failures, unresolved placeholders). ok when the
// whole file was written.
ScriptWrite ExportLayout(const std::string& path, const SectionLayout& layout,
                         const ScriptTarget& target, const PlaceholderResolver& resolver);

// The linker pre-phase's script. A failure on the first line stops the build
// (not ok); a failure inside the sections is reported and the build goes on.
ScriptWrite WriteLinkerScript(const std::string& path, const SectionLayout& layout,
                              const ScriptTarget& target, const PlaceholderResolver& resolver);

// The export file dialog's texts.
inline constexpr std::string_view kExportFilter =
    "Section information file (*.gsi)|*.gsi|All files(*.*)|*.*||";
inline constexpr std::string_view kExportTitle = "Specify export file name";
inline constexpr std::string_view kExportExtension = "gsi";

} // namespace quorle::sections
