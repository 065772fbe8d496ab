// Numbers of the options editor's texts in the resource library. The texts
// live in sheet_strings.inc; LoadModuleString answers them while the
// resource library is the current resource module (during EditOptions).
#pragma once

namespace quorle::sheet_strings {

// Tab titles, in tab-mask bit order.
inline constexpr int kTabCpp = 3000;
inline constexpr int kTabAsm = 3001;
inline constexpr int kTabLnk = 3002;
inline constexpr int kTabLibrary = 3003;
inline constexpr int kTabCpu = 3004;
inline constexpr int kTabSimulator = 3005;
inline constexpr int kTabToolOption = 3006;
inline constexpr int kTabWarning = 3007;

// Selection pane.
inline constexpr int kConfigurationLabel = 3020;
inline constexpr int kAllConfigurations = 3021;
inline constexpr int kMultipleConfigurations = 3022;
inline constexpr int kSelectConfigurationsTitle = 3023;
inline constexpr int kProjectConfigurationsLabel = 3024;
inline constexpr int kFileTypeLevel = 3025;
inline constexpr int kDefaultOptions = 3026;
inline constexpr int kDefaultOptionsSrc = 3027;
inline constexpr int kProjectLevel = 3028;
inline constexpr int kAllLoadedProjects = 3029;
inline constexpr int kAllProject = 3030;
inline constexpr int kCppToAssembly = 3031;
inline constexpr int kNoOptionDisplay = 3032;

// "Toolchain Option" tab: the four shown boxes, then the two hidden ones.
inline constexpr int kSkipDependencyScan = 3040;
inline constexpr int kSupportDependencyScan = 3041;
inline constexpr int kConfirmModified = 3042;
inline constexpr int kExpandPlaceholders = 3043;
inline constexpr int kMapBatchFile = 3044;
inline constexpr int kCpuInProjectUnit = 3045;

inline constexpr int kWarningText = 3050; // why no tool tab is shown
inline constexpr int kCategoryLabel = 3060;

// "Simulator" page.
inline constexpr int kMemoryResourceLabel = 3070;
inline constexpr int kView = 3071;
inline constexpr int kAdd = 3072;
inline constexpr int kModify = 3073;
inline constexpr int kRemove = 3074;

// Placeholder names offered in directory fields.
inline constexpr int kCustomDirectory = 3080;
inline constexpr int kWorkspaceDirectory = 3081;
inline constexpr int kTemporaryDirectory = 3082;
inline constexpr int kFileDirectory = 3083;
inline constexpr int kProjectDirectory = 3084;
inline constexpr int kConfigurationDirectory = 3085;
inline constexpr int kToolchainInstallDirectory = 3086;
inline constexpr int kVelmorDirectory = 3087;

// The search and Cancel, in every view. %s takes what was typed, in quotes.
inline constexpr int kSearchCaption = 3090;
inline constexpr int kSearchPrompt = 3091;
inline constexpr int kNothingMatches = 3092;
inline constexpr int kNothingMatchesNoSelection = 3093;
inline constexpr int kCancelCaption = 3094;
inline constexpr int kDiscardChanges = 3095;

} // namespace quorle::sheet_strings
