#include "host/toolchain_layout.h"

#include <filesystem>
#include <fstream>

#include "platform/platform.h"
#include "tools/standin/target_table.h"

namespace quorle::host {

namespace fs = std::filesystem;

const std::vector<std::string>& StandinTriplets() {
    static const std::vector<std::string> triplets = {"corvo-elf", "pelka-elf", "tamsin-elf",
                                                      "zenta-elf"};
    return triplets;
}

const std::vector<std::string>& StandinTools() {
    static const std::vector<std::string> tools = {"gcc", "g++",     "as",    "ld",
                                                   "ar",  "objcopy", "libgen"};
    return tools;
}

namespace {

// Relative links, so that a clone moved with its build tree still works.
bool Link(const fs::path& target, const fs::path& name, std::string& error) {
    std::error_code ec;
    fs::remove(name, ec);
    fs::path relative = target.lexically_relative(name.parent_path());
    fs::create_symlink(relative.empty() ? target : relative, name, ec);
    if (!ec) return true;
    ec.clear();
    fs::copy_file(target, name, fs::copy_options::overwrite_existing, ec);
    if (!ec) return true;
    error = "cannot create " + name.string() + ": " + ec.message();
    return false;
}

} // namespace

std::vector<std::string> TargetNames() {
    std::vector<std::string> names;
    for (const standin::TargetProfile& profile : standin::TargetProfiles())
        names.emplace_back(profile.name);
    return names;
}

namespace {

// The file that makes a family's tool names run a target's tools; a layout
// for the machine's tools has none, so laying out again switches back.
bool WriteTargetFile(const fs::path& base, const standin::TargetProfile* profile,
                     std::string& error) {
    fs::path file = base / std::string(standin::kTargetFileName);
    std::error_code ec;
    if (profile == nullptr) {
        fs::remove(file, ec);
        return true;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << profile->name << "\n";
    if (out.flush()) return true;
    error = "cannot write " + file.string();
    return false;
}

// The target's libgcc for its CPU flags, in the family's compiler library
// directory, where a real installation keeps it: an ld-driven link names
// that directory and "gcc" as a library, as a gcc-driven one gets it from
// the driver. Left out when the target's gcc cannot say where it is.
void PlaceLibgcc(const fs::path& libraryDir, const standin::TargetProfile* profile) {
    std::error_code ec;
    const fs::path placed = libraryDir / "libgcc.a";
    fs::remove(placed, ec);
    if (profile == nullptr) return;
    platform::ProcessOptions options;
    options.timeoutMs = 30000;
    auto run = platform::RunProcess(std::string(profile->toolPrefix) + "gcc " +
                                        std::string(profile->cpuFlags) + " -print-libgcc-file-name",
                                    options);
    std::string path = run.output;
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    if (run.exitCode != 0 || path.empty() || !fs::is_regular_file(fs::u8path(path), ec)) return;
    // The system's file stays where it is when the layout moves: an
    // absolute link.
    fs::create_symlink(fs::u8path(path), placed, ec);
    if (ec) fs::copy_file(fs::u8path(path), placed, ec);
}

} // namespace

bool LayOutToolchain(const std::string& dir, const std::string& program,
                     const std::string& librarySources, std::string& error,
                     const std::string& target) {
    const standin::TargetProfile* profile = nullptr;
    if (!target.empty()) {
        profile = standin::FindTargetProfile(target);
        if (profile == nullptr) {
            error = "unknown target \"" + target + "\"";
            return false;
        }
    }
    std::error_code ec;
    fs::path root = fs::absolute(fs::path(dir));
    fs::path standin = fs::weakly_canonical(fs::absolute(fs::path(program)), ec);
    root = fs::weakly_canonical(root, ec);
    if (!fs::is_regular_file(standin, ec)) {
        error = "the stand-in toolchain program " + standin.string() + " is missing";
        return false;
    }
    if (!fs::is_directory(librarySources, ec)) {
        error = "the library sources " + librarySources + " are missing";
        return false;
    }
    for (const std::string& t : StandinTriplets()) {
        if (profile != nullptr && profile->triplet != t) continue;
        fs::path base = root / t;
        for (const fs::path& sub : {base / "bin", base / "include", base / "optlibinc",
                                    base / t / "lib", base / "lib" / "gcc" / t,
                                    base / "libexec" / "gcc" / t / "12", base / "libgen" / "src"}) {
            fs::create_directories(sub, ec);
            if (ec) {
                error = "cannot create " + sub.string() + ": " + ec.message();
                return false;
            }
        }
        for (const std::string& tool : StandinTools())
            if (!Link(standin, base / "bin" / (t + "-" + tool + ".exe"), error)) return false;
        if (!WriteTargetFile(base, profile, error)) return false;
        PlaceLibgcc(base / "lib" / "gcc" / t, profile);
        for (const auto& entry : fs::directory_iterator(librarySources, ec)) {
            if (!entry.is_regular_file()) continue;
            fs::copy_file(entry.path(), base / "libgen" / "src" / entry.path().filename(),
                          fs::copy_options::overwrite_existing, ec);
            if (ec) {
                error = "cannot copy " + entry.path().string() + ": " + ec.message();
                return false;
            }
        }
    }
    return true;
}

} // namespace quorle::host
