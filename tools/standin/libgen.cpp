#include "tools/standin/libgen.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "tools/standin/process.h"
#include "tools/standin/target_flags.h"

namespace quorle::standin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGroups[] = {"ctype", "math", "stdio", "stdlib", "string"};

bool TakeValue(const std::string& arg, const char* key, std::string& value) {
    std::string k(key);
    if (arg.rfind(k, 0) != 0) return false;
    value = arg.substr(k.size());
    return true;
}

} // namespace

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        if (comma > start) parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return parts;
}

LibgenRequest ParseLibgenArguments(const std::vector<std::string>& args, std::string& error) {
    LibgenRequest request;
    error.clear();
    for (const std::string& arg : args) {
        std::string value;
        if (TakeValue(arg, "--compiler-options=", value)) {
            request.compilerOptions = SplitCommas(value);
        } else if (TakeValue(arg, "--assembler-options=", value)) {
            request.assemblerOptions = SplitCommas(value);
        } else if (TakeValue(arg, "--output=", value)) {
            request.output = value;
        } else if (TakeValue(arg, "--select-lib=", value)) {
            if (value != "newlib" && value != "optlib") {
                error = "unknown library " + value;
                return request;
            }
            request.library = value;
        } else if (TakeValue(arg, "--header-files=", value)) {
            request.headerGroups = SplitCommas(value);
        } else {
            error = "unknown argument " + arg;
            return request;
        }
    }
    if (request.output.empty()) error = "no --output= given";
    return request;
}

std::vector<std::string> SourcesFor(const std::vector<std::string>& headerGroups) {
    bool all = std::find(headerGroups.begin(), headerGroups.end(), "all") != headerGroups.end();
    std::vector<std::string> sources;
    for (const char* group : kGroups) {
        bool wanted =
            all || std::string(group) == "string" ||
            std::find(headerGroups.begin(), headerGroups.end(), group) != headerGroups.end();
        if (wanted) sources.push_back(std::string(group) + ".c");
    }
    return sources;
}

int RunLibraryGenerator(const ProgramName& name, const std::vector<std::string>& args) {
    std::string error;
    LibgenRequest request = ParseLibgenArguments(args, error);
    const std::string prefix = name.triplet + "-libgen: ";
    if (!error.empty()) {
        std::fprintf(stderr, "%serror: %s\n", prefix.c_str(), error.c_str());
        return 1;
    }
    fs::path bin = name.dir.empty() ? fs::current_path() : fs::path(name.dir);
    fs::path sourceDir = bin.parent_path() / "libgen" / "src";
    fs::path gcc = bin / (name.triplet + "-gcc.exe");
    fs::path ar = bin / (name.triplet + "-ar.exe");
    fs::path output(request.output);
    fs::path work = output.parent_path() / (output.stem().string() + ".libgen");
    std::error_code ec;
    fs::create_directories(work, ec);

    std::vector<std::string> objects;
    for (const std::string& source : SourcesFor(request.headerGroups)) {
        fs::path object = work / (fs::path(source).stem().string() + ".o");
        std::vector<std::string> command{gcc.string(), "-c", "-ffreestanding",
                                         // The library implements memcpy itself.
                                         "-fno-tree-loop-distribute-patterns"};
        if (request.library == "optlib") command.push_back("-DQUORLE_OPTLIB");
        command.insert(command.end(), request.compilerOptions.begin(),
                       request.compilerOptions.end());
        for (const std::string& option :
             DropTargetFlags(ToolKind::Assembler, request.assemblerOptions))
            command.push_back("-Wa," + option);
        command.push_back((sourceDir / source).string());
        command.push_back("-o");
        command.push_back(object.string());
        if (RunAndWait(command) != 0) {
            std::fprintf(stderr, "%serror: compiling %s failed\n", prefix.c_str(), source.c_str());
            return 1;
        }
        objects.push_back(object.string());
    }
    fs::remove(output, ec);
    std::vector<std::string> archive{ar.string(), "rcs", output.string()};
    archive.insert(archive.end(), objects.begin(), objects.end());
    if (RunAndWait(archive) != 0) {
        std::fprintf(stderr, "%serror: archiving %s failed\n", prefix.c_str(),
                     output.string().c_str());
        return 1;
    }
    return 0;
}

} // namespace quorle::standin
