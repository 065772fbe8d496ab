#include "tools/standin/target_profile.h"

#include <fstream>

namespace quorle::standin {

namespace {

struct BigEndianFlag {
    ToolKind kind;
    std::string_view flag;
};

// What the families write for big-endian code; the targets are little-endian.
constexpr BigEndianFlag kBigEndianFlags[] = {
    {ToolKind::Compiler, "-mb"},
    {ToolKind::Compiler, "-mbig-endian-data"},
    {ToolKind::Compiler, "-mbig-endian"},
    {ToolKind::Compiler, "-Wl,-EB"},
    {ToolKind::Assembler, "--mbig-endian-data"},
    {ToolKind::Linker, "-EB"},
};

std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

} // namespace

const TargetProfile* ProfileOf(const ProgramName& name, std::string& error) {
    error.clear();
    std::string dir = name.dir.empty() ? "." : name.dir;
    std::string file = dir + "/../" + std::string(kTargetFileName);
    std::ifstream in(file);
    if (!in) return nullptr;
    std::string line;
    std::getline(in, line);
    std::string target = Trimmed(line);
    const TargetProfile* profile = FindTargetProfile(target);
    if (profile == nullptr) error = file + " names the unknown target \"" + target + "\"";
    return profile;
}

std::string RealTool(const std::string& machineTool, const TargetProfile* profile) {
    if (profile == nullptr) return machineTool;
    return std::string(profile->toolPrefix) + machineTool;
}

std::vector<std::string> ProfileFlags(ToolKind kind, const TargetProfile& profile) {
    std::vector<std::string> flags;
    if (kind != ToolKind::Compiler && kind != ToolKind::Assembler) return flags;
    std::string_view rest = profile.cpuFlags;
    while (!rest.empty()) {
        size_t blank = rest.find(' ');
        std::string_view flag = rest.substr(0, blank);
        if (!flag.empty()) flags.emplace_back(flag);
        if (blank == std::string_view::npos) break;
        rest.remove_prefix(blank + 1);
    }
    return flags;
}

std::optional<std::string> RefusedArgument(ToolKind kind, const std::vector<std::string>& args,
                                           const TargetProfile& profile) {
    for (const std::string& arg : args) {
        for (const BigEndianFlag& big : kBigEndianFlags) {
            if (big.kind != kind || arg != big.flag) continue;
            return "error: " + arg + " asks for big-endian code, but the " +
                   std::string(profile.name) +
                   " target is little-endian; choose little-endian byte order";
        }
    }
    return std::nullopt;
}

} // namespace quorle::standin
