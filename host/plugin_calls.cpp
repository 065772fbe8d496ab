#include "host/plugin_calls.h"

#include <cstring>

#include "host/text_list.h"

namespace quorle::host {

namespace {

// Calls `call(buffer, length)` with a buffer that grows to the size the
// plug-in stored; returns the bytes written, or nullopt on failure.
template <typename Call> std::optional<std::string> WithBuffer(Call call) {
    std::string buffer(256, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        int32_t length = static_cast<int32_t>(buffer.size());
        int result = call(buffer.data(), &length);
        if (result == 0) {
            size_t used = length < 0 ? 0 : static_cast<size_t>(length);
            if (used > buffer.size()) used = buffer.size();
            buffer.resize(used);
            return buffer;
        }
        // A failure that stored a larger size asks for a bigger buffer.
        if (length <= static_cast<int32_t>(buffer.size())) return std::nullopt;
        buffer.assign(static_cast<size_t>(length) + 2, '\0');
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> AsList(const std::optional<std::string>& bytes) {
    if (!bytes) return std::nullopt;
    return SplitNulList(bytes->data(), bytes->size());
}

std::string UntilNul(const std::string& bytes) {
    return std::string(bytes.c_str());
}

} // namespace

std::optional<std::vector<std::string>>
PluginCalls::PhaseInformation(const std::string& phase) const {
    return AsList(WithBuffer(
        [&](char* b, int32_t* l) { return api_.GetBuildPhaseInformation(phase.c_str(), b, l); }));
}

std::optional<std::vector<std::string>>
PluginCalls::InputFileTypes(const std::string& phase) const {
    return AsList(WithBuffer(
        [&](char* b, int32_t* l) { return api_.GetInputFileTypes(phase.c_str(), b, l); }));
}

std::optional<std::vector<std::string>> PluginCalls::SupportedFileExtensions() const {
    return AsList(
        WithBuffer([&](char* b, int32_t* l) { return api_.GetSupportedFileExtensions(b, l); }));
}

std::optional<std::string> PluginCalls::DefaultOptions(const std::string& phase,
                                                       const std::string& config,
                                                       const std::string& fileType) const {
    auto bytes = WithBuffer([&](char* b, int32_t* l) {
        return api_.GetDefaultOptions(phase.c_str(), config.c_str(), fileType.c_str(), b, l);
    });
    if (!bytes) return std::nullopt;
    return UntilNul(*bytes);
}

std::string PluginCalls::DisplayText(const std::string& phaseDisplayName,
                                     const std::string& event) const {
    auto list = AsList(WithBuffer([&](char* b, int32_t* l) {
        return api_.GetInformationForDisplay(phaseDisplayName.c_str(), event.c_str(), 0, b, l);
    }));
    if (!list || list->empty()) return {};
    return list->front();
}

std::string PluginCalls::CommandDisplay(const std::string& command) const {
    static const char unused[1] = {'\0'};
    auto bytes = WithBuffer([&](char* b, int32_t* l) {
        return api_.ConvertOptionsForCommandLineDisplay(unused, unused, command.c_str(), b, l);
    });
    return bytes ? UntilNul(*bytes) : std::string();
}

std::optional<std::vector<std::string>>
PluginCalls::OutputFiles(const std::string& phase, const std::string& options,
                         const QuorleProjectInfo& info) const {
    static const char unused[1] = {'\0'};
    return AsList(WithBuffer([&](char* b, int32_t* l) {
        return api_.GetOutputFiles(phase.c_str(), unused, unused, options.c_str(), 1, b, l, &info);
    }));
}

DependencyItem ParseDependencyItem(const std::string& item) {
    DependencyItem dep;
    if (item.rfind("ERROR|", 0) == 0) {
        dep.error = item.substr(6);
        return dep;
    }
    // The path may itself hold "|" only in theory; the flag is the
    // second-to-last field.
    size_t typeBar = item.rfind('|');
    size_t flagBar = typeBar == std::string::npos || typeBar == 0 ? std::string::npos
                                                                  : item.rfind('|', typeBar - 1);
    if (flagBar == std::string::npos) {
        dep.path = item;
        return dep;
    }
    dep.path = item.substr(0, flagBar);
    dep.system = item.compare(flagBar + 1, typeBar - flagBar - 1, "TRUE") == 0;
    dep.type = item.substr(typeBar + 1);
    return dep;
}

std::optional<std::vector<DependencyItem>>
PluginCalls::FileDependencies(const std::string& phase, const std::string& file,
                              const std::string& fileType, const std::string& options,
                              bool continuation, const QuorleProjectInfo& info) const {
    static const char unused[1] = {'\0'};
    QuorleDependencyRequest request{sizeof(QuorleDependencyRequest), file.c_str(), nullptr};
    char* result = nullptr;
    int rc = api_.GetFileDependencies(phase.c_str(), file.c_str(), fileType.c_str(), unused,
                                      options.c_str(), continuation ? 1 : 0, &result, nullptr,
                                      unused, unused, unused, &info, &request);
    if (rc != 0) {
        if (result != nullptr) api_.FreeSimpleType(result);
        return std::nullopt;
    }
    std::vector<DependencyItem> items;
    if (result != nullptr) {
        // The block is NUL-separated and ends with an empty entry; it is one
        // byte longer than its text, so scanning stops inside it.
        const char* p = result;
        while (*p != '\0') {
            std::string entry(p);
            p += entry.size() + 1;
            items.push_back(ParseDependencyItem(entry));
        }
        api_.FreeSimpleType(result);
    }
    return items;
}

void PluginCalls::ResetDependencies(const std::string& phase, const QuorleProjectInfo& info) const {
    static const char unused[1] = {'\0'};
    QuorleDependencyRequest request{sizeof(QuorleDependencyRequest), unused, nullptr};
    char* result = nullptr;
    api_.GetFileDependencies(phase.c_str(), unused, unused, unused, unused, 0, &result, unused,
                             unused, unused, unused, &info, &request);
    if (result != nullptr) api_.FreeSimpleType(result);
}

PrePhaseResult PluginCalls::PrePhase(const std::string& phase, const std::string& inputList,
                                     const std::string& options,
                                     const QuorleProjectInfo& info) const {
    static const char unused[1] = {'\0'};
    static const int value = 1;
    PrePhaseResult out;
    char command[1024] = {};
    char directory[1024] = {};
    int32_t ready = 0;
    out.result = api_.PrePhase(phase.c_str(), inputList.c_str(), &value, options.c_str(), unused,
                               &ready, command, directory, &info, 0);
    command[sizeof command - 1] = '\0';
    directory[sizeof directory - 1] = '\0';
    if (out.result == 0 && ready != 1) out.result = 1;
    out.command = command;
    out.directory = directory;
    return out;
}

int PluginCalls::PostPhase(const std::string& phase, const std::string& options,
                           const std::string& command, const QuorleProjectInfo& info) const {
    static const char unused[1] = {'\0'};
    return api_.PostPhase(phase.c_str(), unused, unused, options.c_str(), unused, 0,
                          command.c_str(), 0, &info);
}

void ParseLineRecord(const std::string& record, LineInfo& info) {
    std::vector<std::string> fields = SplitAll(record, '|');
    info.file = fields.size() > 0 ? fields[0] : "None";
    info.line = fields.size() > 1 ? fields[1] : "None";
    info.number = fields.size() > 2 ? fields[2] : "";
    // The message may hold "|" of its own.
    size_t start = 0;
    for (int bar = 0; bar < 3 && start != std::string::npos; ++bar) {
        start = record.find('|', start);
        if (start != std::string::npos) ++start;
    }
    info.message = start == std::string::npos ? "" : record.substr(start);
}

std::optional<LineInfo> PluginCalls::OutputLineInfo(const std::string& phase,
                                                    const std::string& line,
                                                    const QuorleProjectInfo& info) const {
    LineInfo out;
    int32_t errors = 0, warnings = 0, fatals = 0, isMessage = 0;
    auto bytes = WithBuffer([&](char* b, int32_t* l) {
        return api_.GetOutputLineInfo(phase.c_str(), 0, 0, 0, line.c_str(), &errors, &warnings,
                                      &fatals, b, l, &isMessage, &info);
    });
    if (!bytes) return std::nullopt;
    out.isMessage = isMessage != 0;
    out.errors = errors;
    out.warnings = warnings;
    out.fatals = fatals;
    ParseLineRecord(UntilNul(*bytes), out);
    return out;
}

PluginCalls::MakefileTexts PluginCalls::MakefileCommand(const std::string& phase,
                                                        const std::string& inputList,
                                                        const std::string& options,
                                                        const std::string& baseDir,
                                                        const QuorleProjectInfo& info) const {
    static const int value = 1;
    MakefileTexts out;
    char text[1024] = {};
    char* command = nullptr;
    char* subcommand = nullptr;
    out.result =
        api_.GenerateMakefileCommand(phase.c_str(), inputList.c_str(), &value, options.c_str(),
                                     baseDir.c_str(), text, &command, &subcommand, &info, 0, 0, 0);
    if (command != nullptr) {
        // A one-entry text list: the command, then NUL separators.
        std::string joined;
        for (const char* p = command; *p != '\0';) {
            std::string entry(p);
            p += entry.size() + 1;
            if (!joined.empty()) joined += '\n';
            joined += entry;
        }
        out.command = joined;
        api_.FreeSimpleType(command);
    }
    if (subcommand != nullptr) {
        out.subcommand = subcommand;
        api_.FreeSimpleType(subcommand);
    }
    return out;
}

} // namespace quorle::host
