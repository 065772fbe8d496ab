// Target families of the GNU cross toolchains and their installation layout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct QuorleProjectInfo;

namespace quorle::toolchain {

enum class Family { Corvo, Pelka, Tamsin, Zenta };

// Family codes carried by the options editor and the models.
enum FamilyCode : int {
    kCodeCorvo = 100,
    kCodePelka = 101,
    kCodeTamsin16 = 102,
    kCodeTamsin32 = 103,
    kCodeZenta = 104,
    kCodeNone = 105,
};

enum class Tool { Archiver, ObjectCopier, CompilerDriver };

// Family from a toolchain name, compared without regard to case in the order
// Corvo, Pelka, Tamsin, Zenta (options editor, CPU tab, linker pre-phase).
std::optional<Family> FamilyIgnoringCase(std::string_view toolchainName);
// Family from a toolchain name, compared exactly in the order Pelka, Corvo,
// Tamsin, Zenta (dependency scan, archive and S-record steps).
std::optional<Family> FamilyExact(std::string_view toolchainName);

// The toolchain name with the Tamsin sub-mode folded in.
std::string EffectiveToolchainName(std::string_view toolchainName, std::string_view cpuSeries);
std::string EffectiveToolchainName(const QuorleProjectInfo& info);
FamilyCode FamilyCodeOf(std::string_view effectiveToolchainName);

// String-table id of the options editor's caption for a toolchain name.
int CaptionStringId(std::string_view toolchainName);

// The family's GNU triplet directory, such as "corvo-elf".
std::string_view TripletDirectory(Family family);
// Installation directory followed by the tool's relative path.
std::string ToolPath(Family family, Tool tool, std::string_view installDir);
// The compiler support directory (relative, after the installation directory).
std::string_view CompilerSupportDirectory(Family family);

// "$(TCINSTALL)" followed by the target (which 0) or compiler (which 1)
// library directory of a family code; anything else gives "".
std::string LibraryDirectory(int familyCode, int which);

// True when an include directory lies below a toolchain's own triplet
// directory (its text holds "\corvo-elf\" or a sibling, exact case).
bool IsToolchainHeaderDirectory(std::string_view includeDir);

// The installation directory as option strings name it, and as makefiles do.
inline constexpr std::string_view kInstallDirPlaceholder = "$(TCINSTALL)";
inline constexpr std::string_view kMakefileInstallDirPlaceholder = "$(TC_INSTALL_DIR)";

// Bits of the toolchain settings value.
enum ToolchainSettingsBit : unsigned {
    kConfirmModifiedOptions = 1, // ask before the options sheet closes with changes
    kShowPlaceholdersExpanded = 2,
};

// The workspace's toolchain settings value in "<dir>\<name>.Vbp".
unsigned ReadToolchainSettings(const std::string& settingsDir, const std::string& settingsName);
bool WriteToolchainSettings(const std::string& settingsDir, const std::string& settingsName,
                            int value);
// The same for the settings file a project information record names
// (workspace settings name in the workspace directory).
unsigned ReadToolchainSettings(const QuorleProjectInfo& info);
bool WriteToolchainSettings(const QuorleProjectInfo& info, int value);

struct SiblingVersions {
    int tolvane = 0;
    int ferrlink = 0;
};
// From "tolvane.tbp" and "Ferrlink.tbp" in the directory of `fileInPluginDir`.
SiblingVersions ReadSiblingVersions(const std::string& fileInPluginDir);

} // namespace quorle::toolchain
