#include "toolchain/family.h"

#include <climits>
#include <string_view>

#include "core/ascii_text.h"
#include "core/path_text.h"
#include "core/records.h"
#include "options/option_string.h"
#include "platform/platform.h"
#include "resources/string_ids.h"
#include "toolchain/toolchain_names.h"

namespace quorle::toolchain {
namespace {

struct FamilyRow {
    Family family;
    std::string_view toolchainName;
    int captionId;
    std::string_view triplet;
    std::string_view compilerDriver;
    std::string_view archiver;
    std::string_view objectCopier;
    std::string_view supportDirectory;
};

// Tool paths are stored with forward slashes and the support directory with
// backslashes; both are appended to the installation directory as they stand.
constexpr FamilyRow kFamilies[] = {
    {Family::Corvo, kCorvoToolchain, strings::kToolchainCorvo, "corvo-elf",
     "/corvo-elf/bin/corvo-elf-g++.exe", "/corvo-elf/bin/corvo-elf-ar.exe",
     "/corvo-elf/bin/corvo-elf-objcopy.exe", "\\corvo-elf\\libexec\\gcc\\corvo-elf"},
    {Family::Pelka, kPelkaToolchain, strings::kToolchainPelka, "pelka-elf",
     "/pelka-elf/bin/pelka-elf-g++.exe", "/pelka-elf/bin/pelka-elf-ar.exe",
     "/pelka-elf/bin/pelka-elf-objcopy.exe", "\\pelka-elf\\libexec\\gcc\\pelka-elf"},
    {Family::Tamsin, kTamsinToolchain, strings::kToolchainTamsin, "tamsin-elf",
     "/tamsin-elf/bin/tamsin-elf-gcc.exe", "/tamsin-elf/bin/tamsin-elf-ar.exe",
     "/tamsin-elf/bin/tamsin-elf-objcopy.exe", "\\tamsin-elf\\libexec\\gcc\\tamsin-elf"},
    {Family::Zenta, kZentaToolchain, strings::kToolchainZenta, "zenta-elf",
     "/zenta-elf/bin/zenta-elf-gcc.exe", "/zenta-elf/bin/zenta-elf-ar.exe",
     "/zenta-elf/bin/zenta-elf-objcopy.exe", "\\zenta-elf\\libexec\\gcc\\zenta-elf"},
};

constexpr int kCaptionOther = strings::kToolchainGeneric;

// The options editor and the linker pre-phase look families up in one order
// and without regard to case; the tool runners exactly and in another.
constexpr Family kOrderIgnoringCase[] = {Family::Corvo, Family::Pelka, Family::Tamsin,
                                         Family::Zenta};
constexpr Family kOrderExact[] = {Family::Pelka, Family::Corvo, Family::Tamsin, Family::Zenta};

struct CodeRow {
    std::string_view effectiveName;
    FamilyCode code;
    std::string_view targetLibrary;   // after "$(TCINSTALL)"
    std::string_view compilerLibrary; // after "$(TCINSTALL)"; a multilib directory follows
};

constexpr CodeRow kCodes[] = {
    {kCorvoToolchain, kCodeCorvo, "\\corvo-elf\\corvo-elf\\lib",
     "\\corvo-elf\\lib\\gcc\\corvo-elf\\"},
    {kPelkaToolchain, kCodePelka, "\\pelka-elf\\pelka-elf\\lib",
     "\\pelka-elf\\lib\\gcc\\pelka-elf\\"},
    {kTamsinAToolchain, kCodeTamsin16, "\\tamsin-elf\\tamsin-elf\\lib",
     "\\tamsin-elf\\lib\\gcc\\tamsin-elf\\"},
    {kTamsinBToolchain, kCodeTamsin32, "\\tamsin-elf\\tamsin-elf\\lib",
     "\\tamsin-elf\\lib\\gcc\\tamsin-elf\\"},
    {kZentaToolchain, kCodeZenta, "\\zenta-elf\\zenta-elf\\lib",
     "\\zenta-elf\\lib\\gcc\\zenta-elf\\"},
};

struct TamsinMode {
    std::string_view cpuSeries;
    std::string_view effectiveName;
};

constexpr TamsinMode kTamsinModes[] = {
    {"TAMSINA", kTamsinAToolchain},
    {"TAMSINB", kTamsinBToolchain},
};
constexpr std::string_view kUnknownTamsinMode = "Unknown GNUTAMSIN mode";

constexpr std::string_view kHeaderDirMarks[] = {"\\corvo-elf\\", "\\pelka-elf\\", "\\tamsin-elf\\",
                                                "\\zenta-elf\\"};

constexpr const char* kSettingsSection = "Setting";
constexpr const char* kSettingsKey = "ToolChain";
constexpr const char* kSettingsAbsent = "False";
constexpr const char* kSiblingSection = "TOOLCHAIN_BUILD_PHASE";
constexpr const char* kSiblingKey = "Version";
constexpr size_t kProfileBuffer = 260;

const FamilyRow& RowOf(Family family) {
    for (const FamilyRow& row : kFamilies)
        if (row.family == family) return row;
    return kFamilies[0]; // every enumerator has a row
}

std::string_view ToolEntry(const FamilyRow& row, Tool tool) {
    switch (tool) {
    case Tool::Archiver:
        return row.archiver;
    case Tool::ObjectCopier:
        return row.objectCopier;
    case Tool::CompilerDriver:
        return row.compilerDriver;
    }
    return {};
}

std::string_view FieldText(const char* field) {
    return field == nullptr ? std::string_view() : std::string_view(field);
}

// Decimal text as the shell's string-to-integer call reads it by default:
// optional blanks and sign, then at least one digit.
int SiblingVersionValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return static_cast<int>(options::ParseDecimal(text.substr(i), INT_MIN, INT_MAX, 0, true));
}

int ReadSiblingVersion(const std::string& dir, const char* fileName) {
    size_t copied = 0;
    std::string text = platform::ProfileGetString(dir + fileName, kSiblingSection, kSiblingKey, "0",
                                                  kProfileBuffer, &copied);
    // A full buffer means the value was cut short; it is not trusted.
    if (copied == kProfileBuffer - 1) return 0;
    return SiblingVersionValue(text);
}

} // namespace

std::optional<Family> FamilyIgnoringCase(std::string_view toolchainName) {
    for (Family family : kOrderIgnoringCase)
        if (core::EqualsIgnoringCase(RowOf(family).toolchainName, toolchainName)) return family;
    return std::nullopt;
}

std::optional<Family> FamilyExact(std::string_view toolchainName) {
    for (Family family : kOrderExact)
        if (RowOf(family).toolchainName == toolchainName) return family;
    return std::nullopt;
}

std::string EffectiveToolchainName(std::string_view toolchainName, std::string_view cpuSeries) {
    if (!core::EqualsIgnoringCase(toolchainName, RowOf(Family::Tamsin).toolchainName))
        return std::string(toolchainName);
    for (const TamsinMode& mode : kTamsinModes)
        if (core::EqualsIgnoringCase(cpuSeries, mode.cpuSeries))
            return std::string(mode.effectiveName);
    return std::string(kUnknownTamsinMode);
}

std::string EffectiveToolchainName(const QuorleProjectInfo& info) {
    return EffectiveToolchainName(FieldText(info.toolchainName), FieldText(info.cpuSeries));
}

FamilyCode FamilyCodeOf(std::string_view effectiveToolchainName) {
    for (const CodeRow& row : kCodes)
        if (row.effectiveName == effectiveToolchainName) return row.code;
    return kCodeNone;
}

int CaptionStringId(std::string_view toolchainName) {
    auto family = FamilyIgnoringCase(toolchainName);
    return family ? RowOf(*family).captionId : kCaptionOther;
}

std::string_view TripletDirectory(Family family) {
    return RowOf(family).triplet;
}

std::string ToolPath(Family family, Tool tool, std::string_view installDir) {
    std::string path(installDir);
    path += ToolEntry(RowOf(family), tool);
    return path;
}

std::string_view CompilerSupportDirectory(Family family) {
    return RowOf(family).supportDirectory;
}

std::string LibraryDirectory(int familyCode, int which) {
    if (which != 0 && which != 1) return {};
    std::string path(kInstallDirPlaceholder);
    for (const CodeRow& row : kCodes) {
        if (row.code != familyCode) continue;
        path += which == 0 ? row.targetLibrary : row.compilerLibrary;
        break;
    }
    return path;
}

bool IsToolchainHeaderDirectory(std::string_view includeDir) {
    for (std::string_view mark : kHeaderDirMarks)
        if (includeDir.find(mark) != std::string_view::npos) return true;
    return false;
}

unsigned ReadToolchainSettings(const std::string& settingsDir, const std::string& settingsName) {
    std::string file = settingsDir + "\\" + settingsName + ".Vbp";
    std::string text = platform::ProfileGetString(file, kSettingsSection, kSettingsKey,
                                                  kSettingsAbsent, kProfileBuffer);
    if (text == kSettingsAbsent) return 0;
    return static_cast<unsigned>(options::ParseDecimal(text, 0, UINT_MAX, 0, false));
}

bool WriteToolchainSettings(const std::string& settingsDir, const std::string& settingsName,
                            int value) {
    std::string file = settingsDir + "\\" + settingsName + ".Vbp";
    return platform::ProfileWriteString(file, kSettingsSection, kSettingsKey,
                                        std::to_string(value));
}

unsigned ReadToolchainSettings(const QuorleProjectInfo& info) {
    return ReadToolchainSettings(std::string(FieldText(info.workspaceDir)),
                                 std::string(FieldText(info.workspaceSettingsName)));
}

bool WriteToolchainSettings(const QuorleProjectInfo& info, int value) {
    return WriteToolchainSettings(std::string(FieldText(info.workspaceDir)),
                                  std::string(FieldText(info.workspaceSettingsName)), value);
}

SiblingVersions ReadSiblingVersions(const std::string& fileInPluginDir) {
    // The directory part keeps its trailing separator; either slash counts.
    std::string dir(DirectoryWithSeparator(fileInPluginDir));
    SiblingVersions versions;
    versions.tolvane = ReadSiblingVersion(dir, "tolvane.tbp");
    versions.ferrlink = ReadSiblingVersion(dir, "Ferrlink.tbp");
    return versions;
}

} // namespace quorle::toolchain
