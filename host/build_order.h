// The host's build order: the places a phase's information names, first to
// last, with what the host shows and runs for each. The host knows the
// plug-in's phases only through these answers.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quorle::host {

struct BuildPlace {
    std::string_view place; // as GetBuildPhaseInformation names it
    std::string_view verb;  // of a progress line
    std::string_view tool;  // the family tool a step runs ("gcc" for C; see ToolOf)
};

inline constexpr std::array<BuildPlace, 4> kBuildOrder = {{
    {"PRE_COMPILE", "Generating library", "libgen"},
    {"COMPILE", "Compiling", "gcc"},
    {"ASSEMBLE", "Assembling", "as"},
    {"LINK", "Linking", "ld"},
}};

inline constexpr std::string_view kCompilePlace = "COMPILE";
inline constexpr std::string_view kLinkPlace = "LINK";

// Position in the build order; kBuildOrder.size() for an unknown place.
size_t PlaceOrder(std::string_view place);
// The verb of a progress line ("Compiling"); "Running" for an unknown place.
std::string_view PlaceVerb(std::string_view place);
// The tool a step runs: "gcc", "g++", "as", "ld" or "libgen"; empty for an
// unknown place.
std::string ToolOf(std::string_view place, std::string_view fileType, bool useGccToLink);

} // namespace quorle::host
