// quorle-host info: the version answers and the catalogue, read through the
// plug-in's exports exactly as the IDE reads them.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/text_list.h"

namespace quorle::host {
namespace {

using BufferCall = std::function<int(char*, int32_t*)>;

// Asks once for the required size, then again with a buffer of that size.
std::optional<std::string> Query(const BufferCall& call) {
    char probe[1] = {0};
    int32_t length = 0;
    call(probe, &length);
    if (length < 0) return std::nullopt;
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    int32_t capacity = length;
    if (call(buffer.data(), &capacity) != 0) return std::nullopt;
    buffer.resize(static_cast<size_t>(length));
    return buffer;
}

std::vector<std::string> ListEntries(const std::string& bytes) {
    return SplitNulList(bytes.data(), bytes.size());
}

std::string Join(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += separator;
        text += item;
    }
    return text;
}

// Line feeds in progress texts are shown as "\n" so every answer stays on a line.
std::string Visible(const std::string& text) {
    std::string shown;
    for (char c : text) shown += c == '\n' ? std::string("\\n") : std::string(1, c);
    return shown;
}

struct PhaseEntry {
    const char* name;   // a name the IDE passes
    bool usesFileTypes; // default options depend on the file type
};

constexpr PhaseEntry kPhases[] = {
    {"GNU Library Generator", false},
    {"Compiler", true},
    {"Assembler", true},
    {"Linker", false},
};

constexpr const char* kConfigurations[] = {"DEFAULT", "DEBUG", "RELEASE"};
constexpr const char* kEvents[] = {"PHASE_START", "FILE_START", "STEP_START",
                                   "STEP_END",    "FILE_END",   "PHASE_END"};

void PrintVersions(const PluginApi& api) {
    uint32_t major = 0, minor = 0, ordinal = 0;
    if (api.GetDLLInterfaceVersion(&major, &minor) == 0)
        std::printf("Interface version: %u.%u\n", major, minor);
    else
        std::printf("Interface version: (failed)\n");
    auto product = Query([&](char* b, int32_t* l) { return api.GetDLLProductVersion(b, l); });
    std::printf("Product version:   %s\n",
                product ? Join(ListEntries(*product), ", ").c_str() : "(failed)");
    if (api.GetDLLOrdinalVersion(&ordinal) == 0)
        std::printf("Ordinal version:   %u\n", ordinal);
    else
        std::printf("Ordinal version:   (failed)\n");
    auto type = Query([&](char* b, int32_t* l) { return api.GetDLLType(b, l); });
    std::printf("Library type:      %s\n",
                type ? Join(ListEntries(*type), ", ").c_str() : "(failed)");
}

void PrintFileTypes(const PluginApi& api) {
    std::printf("\nFile types:\n");
    auto list = Query([&](char* b, int32_t* l) { return api.GetSupportedFileExtensions(b, l); });
    if (!list) {
        std::printf("  (failed)\n");
        return;
    }
    for (const std::string& entry : ListEntries(*list)) {
        std::vector<std::string> fields = SplitAll(entry, '|');
        if (fields.size() < 2) {
            std::printf("  %s\n", entry.c_str());
            continue;
        }
        std::vector<std::string> extensions(fields.begin() + 2, fields.end());
        std::printf("  %-32s %-4s %s\n", fields[0].c_str(), fields[1].c_str(),
                    Join(extensions, ", ").c_str());
    }
    auto secondary =
        Query([&](char* b, int32_t* l) { return api.GetEditOptionsSecondaryFileTypes(b, l); });
    std::printf("Secondary file types of the options editor: %s\n",
                secondary ? (ListEntries(*secondary).empty()
                                 ? "none"
                                 : Join(ListEntries(*secondary), ", ").c_str())
                          : "(failed)");
}

void PrintDefault(const PluginApi& api, const char* phase, const char* configuration,
                  const char* fileType) {
    auto options = Query([&](char* b, int32_t* l) {
        return api.GetDefaultOptions(phase, configuration, fileType, b, l);
    });
    // The string-then-list form ends in the text's NUL.
    std::string text = options ? options->substr(0, options->find('\0')) : "(failed)";
    std::printf("      %-8s %s\n", configuration, text.empty() ? "(empty)" : text.c_str());
}

void PrintPhase(const PluginApi& api, const PhaseEntry& phase) {
    std::printf("\nPhase \"%s\":\n", phase.name);
    auto info =
        Query([&](char* b, int32_t* l) { return api.GetBuildPhaseInformation(phase.name, b, l); });
    std::printf("  Information:  %s\n", info ? Join(ListEntries(*info), ", ").c_str() : "(failed)");
    auto inputs =
        Query([&](char* b, int32_t* l) { return api.GetInputFileTypes(phase.name, b, l); });
    auto outputs =
        Query([&](char* b, int32_t* l) { return api.GetOutputFileTypes(phase.name, b, l); });
    std::vector<std::string> inputTypes =
        inputs ? ListEntries(*inputs) : std::vector<std::string>();
    std::printf("  Input types:  %s\n", !inputs              ? "(failed)"
                                        : inputTypes.empty() ? "none"
                                                             : Join(inputTypes, ", ").c_str());
    std::printf("  Output types: %s\n",
                outputs ? Join(ListEntries(*outputs), ", ").c_str() : "(failed)");
    std::printf("  Default options:\n");
    if (phase.usesFileTypes) {
        for (const std::string& type : inputTypes) {
            std::printf("    %s:\n", type.c_str());
            for (const char* configuration : kConfigurations)
                PrintDefault(api, phase.name, configuration, type.c_str());
        }
    } else {
        for (const char* configuration : kConfigurations)
            PrintDefault(api, phase.name, configuration, nullptr);
    }
    std::printf("  Progress texts:\n");
    for (const char* event : kEvents) {
        auto text = Query([&](char* b, int32_t* l) {
            return api.GetInformationForDisplay(phase.name, event, 0, b, l);
        });
        std::string shown = text ? Visible(text->substr(0, text->find('\0'))) : "(failed)";
        std::printf("    %-12s \"%s\"\n", event, shown.c_str());
    }
}

// One line per phase: how it runs, where, and what it takes.
void PrintSummary(const PluginApi& api) {
    auto list = Query([&](char* b, int32_t* l) { return api.GetSupportedFileExtensions(b, l); });
    std::printf("%zu file types; phases:\n", list ? ListEntries(*list).size() : 0);
    for (const PhaseEntry& phase : kPhases) {
        auto info = Query(
            [&](char* b, int32_t* l) { return api.GetBuildPhaseInformation(phase.name, b, l); });
        auto inputs =
            Query([&](char* b, int32_t* l) { return api.GetInputFileTypes(phase.name, b, l); });
        std::vector<std::string> types = inputs ? ListEntries(*inputs) : std::vector<std::string>();
        std::printf("  %-22s %-22s %s\n", phase.name,
                    info ? Join(ListEntries(*info), " ").c_str() : "(failed)",
                    types.empty() ? "-" : Join(types, ", ").c_str());
    }
    std::printf("(quorle-host info prints the whole catalogue)\n");
}

} // namespace

void PrintPluginVersions(const PluginApi& api) {
    PrintVersions(api);
}

int RunInfo(const CommandContext& context) {
    const PluginApi& api = context.api;
    for (const std::string& arg : context.args) {
        if (arg == "--summary") {
            PrintVersions(api);
            PrintSummary(api);
            return 0;
        }
        std::fprintf(stderr, "quorle-host info: unknown option %s\n", arg.c_str());
        return 2;
    }
    PrintVersions(api);
    PrintFileTypes(api);
    for (const PhaseEntry& phase : kPhases) PrintPhase(api, phase);
    auto navigation =
        Query([&](char* b, int32_t* l) { return api.GetCodeNavigationItems("", b, l); });
    std::printf("\nCode navigation items: %s\n",
                navigation ? Join(ListEntries(*navigation), ", ").c_str() : "(failed)");
    return 0;
}

} // namespace quorle::host
