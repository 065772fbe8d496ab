#include "sheet/sibling_library.h"

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "sheet/resource_library.h"

namespace quorle::sheet {

namespace {

constexpr uint64_t kMinimumInterfaceVersion = 0x10000;

template <typename Fn> Fn Lookup(void* library, const char* name) {
    return reinterpret_cast<Fn>(platform::GetProcAddress(library, name));
}

} // namespace

std::unique_ptr<SiblingLibrary> SiblingLibrary::Open(const std::string& pathInPluginDir) {
    std::unique_ptr<SiblingLibrary> sibling(new SiblingLibrary());
    sibling->library_ = platform::LoadLibrary(DirectoryPart(pathInPluginDir) + "..\\Sivrel.dll");
    if (sibling->library_ != nullptr) sibling->available_ = sibling->Bind();
    return sibling;
}

SiblingLibrary::~SiblingLibrary() {
    platform::FreeLibrary(library_);
}

// Every export must be there and the three version calls must succeed; a
// library that fails any of them is not used at all.
bool SiblingLibrary::Bind() {
    auto interfaceVersion = Lookup<SivrelInterfaceVersionFn>(library_, "GetDLLInterfaceVersion");
    auto productVersion = Lookup<SivrelProductVersionFn>(library_, "GetDLLProductVersion");
    auto ordinalVersion = Lookup<SivrelOrdinalVersionFn>(library_, "GetDLLOrdinalVersion");
    isEnablePhase_ = Lookup<SivrelIsEnablePhaseFn>(library_, "IsEnablePhase");
    convertRawToCook_ = Lookup<SivrelConvertRawToCookFn>(library_, "ConvertRawToCook");
    freeSimpleType_ = Lookup<SivrelFreeSimpleTypeFn>(library_, "FreeSimpleType");
    if (!interfaceVersion || !productVersion || !ordinalVersion || !isEnablePhase_ ||
        !convertRawToCook_ || !freeSimpleType_)
        return false;

    uint32_t major = 0, minor = 0;
    if (interfaceVersion(&major, &minor) != 0) return false;
    uint64_t version = (uint64_t{major} << 16) | (minor & 0xFFFFu);
    if (version < kMinimumInterfaceVersion) return false;
    std::vector<char> product(260);
    int32_t length = static_cast<int32_t>(product.size());
    if (productVersion(product.data(), &length) != 0) return false;
    uint32_t ordinal = 0;
    return ordinalVersion(&ordinal) == 0;
}

bool SiblingLibrary::IsEnablePhase(const std::string& toolchain,
                                   const std::string& phaseName) const {
    return available_ && isEnablePhase_(toolchain.c_str(), phaseName.c_str()) != 0;
}

std::string SiblingLibrary::ConvertRawToCook(const std::string& toolchain,
                                             const std::string& raw) const {
    if (!available_ || raw.size() > static_cast<size_t>(INT32_MAX)) return raw;
    char* cooked = nullptr;
    int result = convertRawToCook_(toolchain.c_str(), raw.c_str(), static_cast<int32_t>(raw.size()),
                                   &cooked);
    std::string text = result == 0 && cooked != nullptr ? std::string(cooked) : raw;
    freeSimpleType_(cooked);
    return text;
}

} // namespace quorle::sheet
