// The real targets the stand-in can stand for: instead of the machine's own
// tools, a family's tool names run a target's GNU cross tools with its CPU
// flags. One row per target; a second Cortex-M is one more row.
#pragma once

#include <span>
#include <string_view>

namespace quorle::standin {

struct TargetProfile {
    std::string_view name;       // as `quorle-host toolchain DIR --target NAME` names it
    std::string_view triplet;    // the family whose tool names run it
    std::string_view toolPrefix; // the target tools: prefix + "gcc", "as", "ld", ...
    std::string_view cpuFlags;   // blank-separated, for every compile and assembly
};

inline constexpr TargetProfile kTargetProfiles[] = {
    {"cortex-m3", "corvo-elf", "arm-none-eabi-", "-mcpu=cortex-m3 -mthumb"},
    {"cortex-m4", "corvo-elf", "arm-none-eabi-", "-mcpu=cortex-m4 -mthumb"},
};

inline std::span<const TargetProfile> TargetProfiles() {
    return kTargetProfiles;
}

inline const TargetProfile* FindTargetProfile(std::string_view name) {
    for (const TargetProfile& profile : kTargetProfiles)
        if (profile.name == name) return &profile;
    return nullptr;
}

// The file in "<dir>/<triplet>/" that names the target a layout runs.
inline constexpr std::string_view kTargetFileName = "standin-target";

} // namespace quorle::standin
