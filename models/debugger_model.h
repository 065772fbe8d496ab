// The debugger options model of the "Debug" phase, which the options sheet
// edits on its "Simulator" tab: the simulator's memory resources. The phase
// builds nothing, so the model only reads and writes its option string;
// tokens it does not know are carried through unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "models/model_base.h"

namespace quorle::models {

// One memory resource: an address range and what the simulator maps there.
struct MemoryResource {
    uint32_t start = 0;
    uint32_t end = 0;
    std::string type; // one of MemoryResourceTypes()

    // "00000000,0000FFFF,RAM": eight upper-case hexadecimal digits each.
    std::string Text() const;
    bool operator==(const MemoryResource&) const = default;
};

// "RAM", "ROM", "IO".
std::span<const std::string_view> MemoryResourceTypes();

// Reads "start,end,type" (one to eight hexadecimal digits, an optional "0x";
// blanks around the fields ignored; the type in any case). Nothing when the
// text has another form, the end lies below the start or the type is unknown.
std::optional<MemoryResource> ParseMemoryResource(std::string_view text);

// True when the two ranges share an address.
bool Overlaps(const MemoryResource& a, const MemoryResource& b);

namespace debugger_keys {
inline constexpr std::string_view kMemoryResources = "S|MEMRES|";
}

// Every field a reset restores.
struct DebuggerFields {
    // The entries as stored, in order; entries that do not parse are kept.
    std::vector<std::string> memoryResources_;
    // Tokens no reader knows, bodies without brackets, in arrival order.
    std::vector<std::string> carried_;

    bool operator==(const DebuggerFields&) const = default;
};

class DebuggerModel : public ModelBase, public DebuggerFields {
  public:
    DebuggerModel() : ModelBase(kPhaseDebug) {}
    explicit DebuggerModel(std::string_view optionString);
    bool operator==(const DebuggerModel&) const = default;

  protected:
    void ResetFields() override;
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;
};

} // namespace quorle::models
