#include "cmdline/linker_libraries.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/ascii_text.h"
#include "toolchain/cpu_table.h"
#include "toolchain/family.h"

namespace quorle::cmdline {
namespace {

constexpr std::string_view kProjectLibrary = "lib$(PROJECTNAME).a";
constexpr std::string_view kConfigDir = "$(CONFIGDIR)";

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = core::AsciiLower(c);
    return lower;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return Lower(text).find(Lower(part)) != std::string::npos;
}

} // namespace

void FixUpDefaultLibraries(models::LinkerModel& model, std::string_view generatorLibrary) {
    if (!model.fixupLibs_) return;
    std::vector<std::string>& libraries = model.libraries_;
    if (!generatorLibrary.empty()) {
        std::string generated = "lib" + std::string(generatorLibrary) + ".a";
        for (std::string& library : libraries)
            if (library == generated) library = kProjectLibrary;
    }
    std::vector<std::string_view> defaults = {kProjectLibrary, "liboptc.a", "liboptm.a", "libc.a",
                                              "libm.a"};
    bool zenta = model.cpu_.familyCode_ == toolchain::kCodeZenta;
    if (zenta) defaults.push_back("libnosys.a");
    std::erase_if(libraries, [&](const std::string& library) {
        return std::any_of(defaults.begin(), defaults.end(), [&](std::string_view name) {
            return core::EqualsIgnoringCase(library, name);
        });
    });
    if (model.projectIsLibrary_) {
        libraries.emplace_back(kProjectLibrary);
        return;
    }
    if (model.optLib_) {
        libraries.emplace_back("liboptm.a");
        libraries.emplace_back("liboptc.a");
    } else {
        libraries.emplace_back("libm.a");
        libraries.emplace_back("libc.a");
    }
    if (zenta) libraries.emplace_back("libnosys.a");
}

void FixUpLibraryDirectories(models::LinkerModel& model) {
    if (!model.fixupLibs_) return;
    const int family = model.cpu_.familyCode_;
    const std::string multilib = model.cpu_.Multilib();
    const std::string targetDir = toolchain::LibraryDirectory(family, 0);
    const std::string compilerDir = toolchain::LibraryDirectory(family, 1);
    const std::string targetPath = toolchain::TargetLibraryPath(family, multilib);
    const std::string compilerPath = toolchain::CompilerLibraryPath(family, multilib);
    std::vector<std::string>& dirs = model.libDirs_;
    // Without a known family both directories are the bare installation
    // placeholder, which every toolchain directory contains.
    const bool knownFamily = family >= toolchain::kCodeCorvo && family <= toolchain::kCodeZenta;

    if (model.projectIsLibrary_) {
        std::erase_if(dirs, [](const std::string& dir) {
            for (int code = toolchain::kCodeCorvo; code <= toolchain::kCodeZenta; ++code)
                if (ContainsNoCase(dir, toolchain::LibraryDirectory(code, 0))) return true;
            return false;
        });
        if (model.projectType_ == 1 && knownFamily) dirs.push_back(targetPath);
        for (std::string& dir : dirs)
            if (knownFamily && ContainsNoCase(dir, compilerDir)) dir = compilerPath;
        bool hasConfigDir = std::any_of(dirs.begin(), dirs.end(), [](const std::string& dir) {
            return dir.find(kConfigDir) != std::string::npos;
        });
        if (!hasConfigDir) dirs.emplace_back(kConfigDir);
        return;
    }
    std::erase_if(dirs,
                  [](const std::string& dir) { return core::EqualsIgnoringCase(dir, kConfigDir); });
    if (!knownFamily) return;
    for (std::string& dir : dirs) {
        if (ContainsNoCase(dir, targetDir))
            dir = targetPath;
        else if (ContainsNoCase(dir, compilerDir))
            dir = compilerPath;
    }
}

} // namespace quorle::cmdline
