#include "tools/standin/standin_args.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "host/text_list.h"
#include "tools/standin/drive_paths.h"

namespace quorle::standin {

namespace {

constexpr int kMaxDepth = 4;

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

void Expand(const std::vector<std::string>& args, int depth, std::vector<std::string>& out,
            std::string& error) {
    static const std::string kSubcommand = "-subcommand=";
    for (const std::string& arg : args) {
        // The IDE's makefile rules name the file with -subcommand=.
        size_t skip = arg.rfind(kSubcommand, 0) == 0 ? kSubcommand.size() : 1;
        if (arg.size() <= skip || (skip == 1 && arg[0] != '@') || depth >= kMaxDepth) {
            out.push_back(arg);
            continue;
        }
        std::string path = arg.substr(skip);
        std::replace(path.begin(), path.end(), '\\', '/');
#if !defined(_WIN32)
        if (StartsWithDrive(path)) {
            auto host = HostPathOf(path, error);
            if (!host) return;
            path = *host;
        }
#endif
        std::string text;
        if (!ReadWhole(path, text)) {
            error = "cannot read the response file " + path;
            return;
        }
        Expand(host::SplitArguments(text), depth + 1, out, error);
        if (!error.empty()) return;
    }
}

} // namespace

ProgramName ParseProgramName(const std::string& argv0) {
    ProgramName name;
    size_t slash = argv0.find_last_of("/\\");
    std::string leaf = slash == std::string::npos ? argv0 : argv0.substr(slash + 1);
    if (slash != std::string::npos) name.dir = argv0.substr(0, slash);
    if (leaf.size() > 4 && leaf.compare(leaf.size() - 4, 4, ".exe") == 0)
        leaf.resize(leaf.size() - 4);
    size_t mark = leaf.find("-elf-");
    if (mark == std::string::npos) return name;
    name.triplet = leaf.substr(0, mark + 4);
    name.tool = leaf.substr(mark + 5);
    return name;
}

std::vector<std::string> ExpandResponseFiles(const std::vector<std::string>& args,
                                             std::string& error) {
    std::vector<std::string> out;
    error.clear();
    Expand(args, 0, out, error);
    return out;
}

std::vector<std::string> ToNativeSeparators(const std::vector<std::string>& args) {
    std::vector<std::string> out = args;
#if !defined(_WIN32)
    bool macroValue = false; // the argument after a lone "-D"
    for (std::string& arg : out) {
        bool macro = macroValue || arg.rfind("-D", 0) == 0;
        macroValue = arg == "-D";
        if (!macro) std::replace(arg.begin(), arg.end(), '\\', '/');
    }
#endif
    return out;
}

std::string RemoveArchitecture(const std::string& script) {
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t at = script.find("OUTPUT_ARCH", pos);
        if (at == std::string::npos) break;
        size_t close = script.find(')', at);
        if (close == std::string::npos) break;
        out.append(script, pos, at - pos);
        pos = close + 1;
        if (pos < script.size() && script[pos] == '\r') ++pos;
        if (pos < script.size() && script[pos] == '\n') ++pos;
    }
    out.append(script, pos, std::string::npos);
    return out;
}

std::vector<std::string> WithoutArchitectureLines(const std::vector<std::string>& args,
                                                  std::string& error) {
    std::vector<std::string> out;
    error.clear();
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string path;
        bool separate = arg == "-T" && i + 1 < args.size();
        if (separate)
            path = args[i + 1];
        else if (arg.rfind("-T", 0) == 0 && arg.size() > 2)
            path = arg.substr(2);
        std::string text;
        if (path.empty() || !ReadWhole(path, text)) {
            out.push_back(arg);
            continue;
        }
        std::string host = text;
#if !defined(_WIN32)
        // Under Wine the plug-in names the input files by drive paths.
        host = HostPathsInScript(text, error);
        if (!error.empty()) return out;
#endif
        if (text.find("OUTPUT_ARCH") == std::string::npos && host == text) {
            out.push_back(arg);
            continue;
        }
        std::string copy = path + ".host.ld";
        std::ofstream file(copy, std::ios::binary | std::ios::trunc);
        file << RemoveArchitecture(host);
        if (!file.flush()) {
            error = "cannot write " + copy;
            return out;
        }
        out.push_back("-T");
        out.push_back(copy);
        if (separate) ++i;
    }
    return out;
}

} // namespace quorle::standin
