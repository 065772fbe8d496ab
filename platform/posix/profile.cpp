#include "platform/platform.h"
#include "platform/posix/ini_file.h"
#include "platform/posix/native_path.h"

namespace quorle::platform {

std::string ProfileGetString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             size_t bufferSize, size_t* copied) {
    auto ini = posix::IniFile::Load(NativePath(file));
    std::string value = ini.Get(section, key).value_or("");
    if (!ini.Get(section, key)) {
        // The default loses its trailing blanks, as with the Windows call.
        value = defaultValue;
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    }
    if (bufferSize == 0) {
        value.clear();
    } else if (value.size() > bufferSize - 1) {
        value.resize(bufferSize - 1);
    }
    if (copied != nullptr) *copied = value.size();
    return value;
}

bool ProfileWriteString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
    std::string native = NativePath(file);
    auto ini = posix::IniFile::Load(native);
    ini.Set(section, key, value);
    return ini.Save(native);
}

} // namespace quorle::platform
