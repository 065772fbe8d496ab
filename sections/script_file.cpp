#include "sections/script_file.h"

#include <utility>
#include <vector>

#include "core/records.h"
#include "core/text_replace.h"
#include "platform/platform.h"

namespace quorle::sections {
ScriptFileResult WriteScriptFile(const std::string& path, const SectionLayout& layout,
                                 const ScriptTarget& target, const PlaceholderResolver& resolver,
                                 ScriptProblems* problems) {
    platform::OutputFile file;
    if (!file.Open(path, /*textMode=*/true, /*append=*/false))
        return ScriptFileResult::HeaderFailed;
    if (!file.Write(
            ArchitectureLine(target.effectiveToolchain, target.cpuType, target.normalMode))) {
        file.Close();
        return ScriptFileResult::HeaderFailed;
    }
    bool written = WriteLayout(
        layout, [&file](const std::string& piece) { return file.Write(piece); }, resolver,
        problems);
    // A failure reported only when the buffered text reaches the disk counts
    // against the sections as well.
    bool closed = file.Close();
    return written && closed ? ScriptFileResult::Ok : ScriptFileResult::SectionsFailed;
}

PlaceholderResolver ProjectResolver(const QuorleProjectInfo& info) {
    std::vector<std::pair<std::string, std::string>> values;
    auto add = [&values](const char* name, const char* value) {
        if (value) values.emplace_back(name, value);
    };
    add("$(WORKSPDIR)", info.workspaceDir);
    add("$(PROJDIR)", info.projectDir);
    add("$(CONFIGDIR)", info.configDir);
    add("$(VELMORDIR)", info.hostDir);
    add("$(TCINSTALL)", info.toolchainDir);
    add("$(TEMPDIR)", info.tempDir);
    add("$(PROJECTNAME)", info.projectName);
    return [values = std::move(values)](const std::string& line) -> std::optional<std::string> {
        std::string resolved = line;
        for (const auto& [name, value] : values) core::ReplaceAll(resolved, name, value);
        return resolved;
    };
}

namespace {

// Writes the script and says what went wrong: a header failure alone, or the
// `sectionsError` text for a failure in the sections, then the placeholder
// problems met on the way.
ScriptWrite WriteAndReport(const std::string& path, const SectionLayout& layout,
                           const ScriptTarget& target, const PlaceholderResolver& resolver,
                           const char* sectionsError, bool sectionsFailureStops) {
    ScriptProblems problems;
    ScriptFileResult result = WriteScriptFile(path, layout, target, resolver, &problems);
    ScriptWrite write;
    if (result == ScriptFileResult::HeaderFailed) {
        write.messages.push_back(ErrorText("Error writing to sections file"));
        return write;
    }
    if (result == ScriptFileResult::SectionsFailed)
        write.messages.push_back(ErrorText(sectionsError));
    for (UserMessage& message : ScriptProblemMessages(problems))
        write.messages.push_back(std::move(message));
    write.ok = result == ScriptFileResult::Ok || !sectionsFailureStops;
    return write;
}

} // namespace

ScriptWrite WriteLinkerScript(const std::string& path, const SectionLayout& layout,
                              const ScriptTarget& target, const PlaceholderResolver& resolver) {
    // A failure inside the sections is reported and the build goes on.
    return WriteAndReport(path, layout, target, resolver,
                          "ERROR: File error generating linker sections file", false);
}

ScriptWrite ExportLayout(const std::string& path, const SectionLayout& layout,
                         const ScriptTarget& target, const PlaceholderResolver& resolver) {
    return WriteAndReport(path, layout, target, resolver, "ERROR: File error", true);
}

} // namespace quorle::sections
