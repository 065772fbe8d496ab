#include "host/tool_run.h"

namespace quorle::host {

std::optional<ToolCommand> ParseToolCommand(const std::string& command) {
    static const std::string kGccMarker = "--use-gcc-to-link ";
    ToolCommand out;
    std::string rest = command;
    if (rest.rfind(kGccMarker, 0) == 0) {
        out.useGccToLink = true;
        rest = rest.substr(kGccMarker.size());
    }
    if (rest.size() < 3 || rest[0] != '@') return std::nullopt;
    rest = rest.substr(1);
    if (rest.front() == '"') {
        if (rest.size() < 2 || rest.back() != '"') return std::nullopt;
        rest = rest.substr(1, rest.size() - 2);
    }
    if (rest.empty()) return std::nullopt;
    out.subcommandFile = NativePath(rest);
    return out;
}

std::string TripletOf(const std::string& toolchainName) {
    static const struct {
        const char* name;
        const char* triplet;
    } kTable[] = {
        {"DRAVIK GNUCORVO [ELF]", "corvo-elf"},
        {"DRAVIK GNUPELKA [ELF]", "pelka-elf"},
        {"DRAVIK GNUTAMSIN [ELF]", "tamsin-elf"},
        {"DRAVIK GNUZENTA [ELF]", "zenta-elf"},
    };
    std::string upper = toolchainName;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const auto& row : kTable)
        if (upper == row.name) return row.triplet;
    return "";
}

std::string ToolArgument(const std::string& arg) {
#if defined(_WIN32)
    return arg;
#else
    if (arg.rfind("-D", 0) == 0) return arg;
    std::string native = arg;
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
#endif
}

std::string ToolPath(const std::string& installDir, const std::string& triplet,
                     const std::string& tool) {
    return installDir + "/" + triplet + "/bin/" + triplet + "-" + tool + ".exe";
}

std::string JoinCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += ' ';
        if (arg.empty() || arg.find_first_of(" \t") != std::string::npos) {
            line += '"';
            line += arg;
            line += '"';
        } else {
            line += arg;
        }
    }
    return line;
}

std::string StripEscapes(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c != '\x1b') {
            out += c;
            continue;
        }
        if (i + 1 >= line.size()) break;
        char kind = line[i + 1];
        if (kind == '[') {
            // Control sequence: parameters, then one final byte in @..~.
            size_t j = i + 2;
            while (j < line.size() && !(line[j] >= '@' && line[j] <= '~')) ++j;
            i = j;
        } else if (kind == ']') {
            // Operating system command (hyperlinks): ends with BEL or ESC \.
            size_t j = i + 2;
            while (j < line.size() && line[j] != '\x07' &&
                   !(line[j] == '\x1b' && j + 1 < line.size() && line[j + 1] == '\\'))
                ++j;
            i = (j < line.size() && line[j] == '\x1b') ? j + 1 : j;
        } else {
            i += 1; // a two-byte sequence
        }
    }
    return out;
}

std::vector<std::string> OutputLines(const std::string& output) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(StripEscapes(line));
        start = end + 1;
    }
    return lines;
}

} // namespace quorle::host
