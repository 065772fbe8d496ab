// quorle-host toolchain DIR [--target NAME]: lays out the stand-in GNU cross
// toolchain, over the machine's own tools or over a real target's.
#include <cstdio>
#include <filesystem>
#include <optional>

#include "host/closest.h"
#include "host/commands.h"
#include "host/toolchain_layout.h"
#include "platform/platform.h"
#include "tools/standin/target_table.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: quorle-host toolchain DIR [--target NAME]\n";

struct ToolchainArgs {
    std::string dir;
    std::string target;
};

std::optional<ToolchainArgs> ParseArgs(const std::vector<std::string>& args) {
    ToolchainArgs out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--target" && i + 1 < args.size()) {
            out.target = args[++i];
        } else if (args[i].rfind("--target=", 0) == 0) {
            out.target = args[i].substr(9);
        } else if (out.dir.empty() && args[i].rfind("-", 0) != 0) {
            out.dir = args[i];
        } else {
            return std::nullopt;
        }
    }
    if (out.dir.empty()) return std::nullopt;
    return out;
}

std::string TargetList() {
    std::string list;
    for (const std::string& name : TargetNames()) list += (list.empty() ? "" : ", ") + name;
    return list;
}

// A layout whose tools cannot run is of no use: the target's compiler must
// be installed.
bool OnPath(const std::string& program) {
#if defined(_WIN32)
    constexpr char kSeparator = ';';
    const std::string name = program + ".exe";
#else
    constexpr char kSeparator = ':';
    const std::string& name = program;
#endif
    std::string path = platform::GetEnv("PATH").value_or("");
    size_t start = 0;
    while (start <= path.size()) {
        size_t colon = path.find(kSeparator, start);
        if (colon == std::string::npos) colon = path.size();
        std::string dir = path.substr(start, colon - start);
        std::error_code ec;
        if (!dir.empty() && fs::is_regular_file(fs::path(dir) / name, ec)) return true;
        start = colon + 1;
    }
    return false;
}

} // namespace

int RunToolchain(const std::vector<std::string>& args, const std::string& program) {
    auto parsed = ParseArgs(args);
    if (!parsed) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    const standin::TargetProfile* profile = nullptr;
    if (!parsed->target.empty()) {
        profile = standin::FindTargetProfile(parsed->target);
        if (profile == nullptr) {
            std::fprintf(stderr, "quorle-host toolchain: unknown target \"%s\"%s; known: %s\n",
                         parsed->target.c_str(), DidYouMean(parsed->target, TargetNames()).c_str(),
                         TargetList().c_str());
            return 2;
        }
        std::string compiler = std::string(profile->toolPrefix) + "gcc";
        if (!OnPath(compiler)) {
            std::fprintf(stderr,
                         "quorle-host toolchain: %s is not installed (scripts/install-deps.sh "
                         "installs it)\n",
                         compiler.c_str());
            return 1;
        }
    }
    // Both lie beside the host in the build tree: bin/ and share/.
    fs::path bin = fs::absolute(fs::path(program)).parent_path();
#if defined(_WIN32)
    fs::path standin = bin / "quorle-standin.exe";
#else
    fs::path standin = bin / "quorle-standin";
#endif
    fs::path sources = bin.parent_path() / "share" / "quorle-standin" / "libsrc";
    std::string error;
    if (!LayOutToolchain(parsed->dir, standin.string(), sources.string(), error, parsed->target)) {
        std::fprintf(stderr, "quorle-host toolchain: %s\n", error.c_str());
        return 1;
    }
    std::string where = fs::absolute(fs::path(parsed->dir)).lexically_normal().string();
    if (profile == nullptr) {
        std::printf("Stand-in toolchain for corvo-elf, pelka-elf, tamsin-elf and zenta-elf in %s\n",
                    where.c_str());
    } else {
        std::printf("Stand-in toolchain for %.*s in %s: %.*s* tools with %.*s\n",
                    static_cast<int>(profile->triplet.size()), profile->triplet.data(),
                    where.c_str(), static_cast<int>(profile->toolPrefix.size()),
                    profile->toolPrefix.data(), static_cast<int>(profile->cpuFlags.size()),
                    profile->cpuFlags.data());
    }
    return 0;
}

} // namespace quorle::host
