// quorle-host toolchain DIR: lays out the stand-in GNU cross toolchain.
#include <cstdio>
#include <filesystem>

#include "host/commands.h"
#include "host/toolchain_layout.h"

namespace quorle::host {

namespace fs = std::filesystem;

int RunToolchain(const std::vector<std::string>& args, const std::string& program) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: quorle-host toolchain DIR\n");
        return 2;
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
    if (!LayOutToolchain(args[0], standin.string(), sources.string(), error)) {
        std::fprintf(stderr, "quorle-host toolchain: %s\n", error.c_str());
        return 1;
    }
    std::printf("Stand-in toolchain for corvo-elf, pelka-elf, tamsin-elf and zenta-elf in %s\n",
                fs::absolute(fs::path(args[0])).lexically_normal().string().c_str());
    return 0;
}

} // namespace quorle::host
