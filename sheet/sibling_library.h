// The sibling project-options library, "..\Sivrel.dll" beside the plug-in's
// directory. Optional: without it (or with one too old) the editor works
// unchanged, every phase-enable answer is false and text stays raw.
#pragma once

#include <memory>
#include <string>

#include "core/sibling_abi.h"

namespace quorle::sheet {

class SiblingLibrary { // never throws
  public:
    static std::unique_ptr<SiblingLibrary> Open(const std::string& pathInPluginDir); // never null
    ~SiblingLibrary();
    SiblingLibrary(const SiblingLibrary&) = delete;
    SiblingLibrary& operator=(const SiblingLibrary&) = delete;

    // Loaded and version checks passed (interface version >= 0x10000,
    // product and ordinal version calls succeed).
    bool Available() const { return available_; }
    bool IsEnablePhase(const std::string& toolchain, const std::string& phaseName) const;
    // The raw text when unavailable or when the conversion fails; the
    // sibling's buffer is released with the sibling's own FreeSimpleType.
    std::string ConvertRawToCook(const std::string& toolchain, const std::string& raw) const;

  private:
    SiblingLibrary() = default;
    bool Bind();

    void* library_ = nullptr;
    bool available_ = false;
    SivrelIsEnablePhaseFn isEnablePhase_ = nullptr;
    SivrelConvertRawToCookFn convertRawToCook_ = nullptr;
    SivrelFreeSimpleTypeFn freeSimpleType_ = nullptr;
};

} // namespace quorle::sheet
