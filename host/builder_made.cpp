// The files a step made, so that clean removes them and nothing else: its
// outputs, and the tool's and the plug-in's side files when they are at
// least as new as the step's start in the journal. A user's own sub-command
// file or linker script is older, and a workspace source is never one.
#include <cstring>
#include <filesystem>

#include "host/builder.h"
#include "host/tool_run.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

// The arguments with "-Xlinker X" read as X, as ld gets them when gcc
// drives the link (a gcc-driven link names its linker input file so).
std::vector<std::string> LinkerView(const std::vector<std::string>& args) {
    std::vector<std::string> out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-Xlinker" && i + 1 < args.size()) ++i;
        out.push_back(args[i]);
    }
    return out;
}

// Files a tool argument names as something the tool writes.
void OutputArguments(const std::vector<std::string>& toolArgs, std::vector<std::string>& found,
                     std::vector<std::string>& scripts) {
    static const char* const kValueFlags[] = {"-Map=", "-Wl,-Map=", "--output="};
    const std::vector<std::string> args = LinkerView(toolArgs);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "-o" || arg == "-T") && i + 1 < args.size()) {
            (arg == "-o" ? found : scripts).push_back(args[++i]);
        } else if (arg.size() > 2 && arg.rfind("-T", 0) == 0) {
            scripts.push_back(arg.substr(2));
        } else if (arg.rfind("-Wa,-a", 0) == 0 && arg.find('=') != std::string::npos) {
            found.push_back(arg.substr(arg.find('=') + 1)); // an assembler listing
        } else {
            for (const char* flag : kValueFlags)
                if (arg.rfind(flag, 0) == 0) found.push_back(arg.substr(std::strlen(flag)));
        }
    }
}

bool Inside(const std::string& path, const std::string& dir) {
    return path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 &&
           path[dir.size()] == '/';
}

} // namespace

std::vector<std::string> Builder::MadeFiles(const Pending& pending) {
    const Step& step = plan_.steps[pending.step];
    std::vector<std::string> made;
    auto absolute = [&pending](const std::string& path) {
        fs::path p = fs::u8path(NativePath(path));
        if (!p.is_absolute()) p = fs::u8path(pending.workDir) / p;
        return p.lexically_normal().generic_string();
    };
    KnowProjectFiles();
    auto sources = [this](const std::string& path) { return sourcePaths_.count(path) > 0; };
    auto add = [&](const std::string& path, bool mustBeNew) {
        if (path.empty() || sources(path)) return;
        for (const std::string& m : made)
            if (m == path) return;
        auto t = platform::FileModifiedTime(path);
        if (!t || (mustBeNew && (!pending.mark || *t < *pending.mark))) return;
        made.push_back(path);
    };
    for (const OutputFile& out : step.outputs) add(out.path, false);
    const std::string& configDir = context_.configDir();
    if (auto command = ParseToolCommand(pending.command)) {
        std::string sub = absolute(command->subcommandFile);
        if (Inside(sub, configDir)) add(sub, true);
    }
    std::vector<std::string> written, scripts;
    OutputArguments(pending.args, written, scripts);
    for (const std::string& path : written) {
        std::string full = absolute(path);
        add(full, true);
        // The stand-in library generator's work folder beside its output.
        fs::path work = fs::u8path(full);
        work = work.parent_path() / (work.stem().string() + ".libgen");
        add(work.generic_string(), true);
    }
    for (const std::string& path : scripts) {
        std::string full = absolute(path);
        if (Inside(full, configDir)) add(full, true);
        add(full + ".host.ld", true); // the stand-in linker's copy
    }
    return made;
}

} // namespace quorle::host
