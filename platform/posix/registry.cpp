// The current user's registry as a profile file: one section per key path,
// its default value under the name "@".
#include <sys/stat.h>

#include "platform/platform.h"
#include "platform/posix/ini_file.h"
#include "platform/posix/native_path.h"

namespace quorle::platform {
namespace {

constexpr const char* kDefaultValueName = "@";

std::string RegistryFile() {
    if (auto file = GetEnv("QUORLE_REGISTRY"); file && !file->empty()) {
        return NativePath(*file);
    }
    std::string config = GetEnv("XDG_CONFIG_HOME").value_or("");
    if (config.empty()) config = GetEnv("HOME").value_or("") + "/.config";
    return config + "/quorle/registry.ini";
}

// Creates the directories above the registry file.
void MakeParents(const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1)) {
        ::mkdir(file.substr(0, slash).c_str(), 0777);
    }
}

// Key paths are kept without leading and trailing separators, so that
// "Software\\A\\" and "Software\\A" name the same key.
std::string KeyName(const std::string& keyPath) {
    size_t begin = keyPath.find_first_not_of('\\');
    size_t end = keyPath.find_last_not_of('\\');
    if (begin == std::string::npos) return {};
    return keyPath.substr(begin, end - begin + 1);
}

} // namespace

std::optional<std::string> RegistryQueryValue(const std::string& keyPath) {
    auto ini = posix::IniFile::Load(RegistryFile());
    std::string key = KeyName(keyPath);
    if (!ini.HasSection(key)) return std::nullopt;
    // A key that exists without a default value reads as empty.
    return ini.Get(key, kDefaultValueName).value_or("");
}

bool RegistrySetValue(const std::string& keyPath, const std::string& value) {
    std::string key = KeyName(keyPath);
    if (key.empty()) return false;
    std::string file = RegistryFile();
    MakeParents(file);
    auto ini = posix::IniFile::Load(file);
    // Quoted, so that blanks and quotes at the ends survive the profile
    // file's trimming.
    ini.Set(key, kDefaultValueName, "\"" + value + "\"");
    return ini.Save(file);
}

} // namespace quorle::platform
