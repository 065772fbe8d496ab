#include "models/compiler_model.h"

#include "core/table_checks.h"
#include "core/text_replace.h"
#include "models/compiler_keys.h"
#include "models/key_index.h"
#include "options/option_string.h"
#include "toolchain/family.h"

namespace quorle::models {

using namespace compiler_keys;

// Each switch group's rows fill the model's flag array exactly, and a key or
// flag written twice would make two switches read or write the same token.
constexpr auto kKeyOf = [](const FlagOption& row) { return row.key; };
constexpr auto kFlagOf = [](const FlagOption& row) { return row.flag; };
static_assert(std::size(kWarn1Options) == kWarnGroup1Count);
static_assert(std::size(kWarn2Options) == kWarnGroup2Count);
static_assert(std::size(kOtherOptions) == kOtherFlagCount);
static_assert(AllDistinct(kWarn1Options, kKeyOf) && AllDistinct(kWarn1Options, kFlagOf));
static_assert(AllDistinct(kWarn2Options, kKeyOf) && AllDistinct(kWarn2Options, kFlagOf));
static_assert(AllDistinct(kOtherOptions, kKeyOf));
static_assert(std::size(kListContentOptions) == kListContentCount);

namespace {

// An integer field whose value is the position of its token in a table.
struct ChoiceField {
    KeyList keys;
    int CCompilerModel::*field;
};

constexpr ChoiceField kObjectChoices[] = {
    {kOutput, &CCompilerModel::m_nOutput},
    {kDebug, &CCompilerModel::m_nDebug},
    {kDebugLevel, &CCompilerModel::m_nDebugLevel},
    {kDebugFormat, &CCompilerModel::m_nDebugFormat},
    {kStringData, &CCompilerModel::m_nStringData},
    {kTemplate, &CCompilerModel::m_nTemplate},
    {kDivision, &CCompilerModel::m_nDivision},
    {kNoLine, &CCompilerModel::m_nNoLine},
    {kIFunc, &CCompilerModel::m_nIFunc},
    {kAlign, &CCompilerModel::m_nAlign},
    {kAlign4Scope, &CCompilerModel::m_nAlign4Scope},
    {kStuffGbr, &CCompilerModel::m_nStuffGbr},
};

// The optimize keys besides the inline controls below.
constexpr ChoiceField kOptimizeChoices[] = {
    {kOptimize, &CCompilerModel::m_nOptimize},
    {kOptLevel, &CCompilerModel::m_nOptLevel},
    {kLto, &CCompilerModel::m_nLto},
    {kOptimizeOld, &CCompilerModel::m_nOptimizeOld},
    {kGOptimize, &CCompilerModel::m_nGOptimize},
};

// Inline-control keys in their written order (after the map keys).
constexpr ChoiceField kInlineControls[] = {
    {kCppNoInline, &CCompilerModel::m_nCppNoInline},
    {kCase, &CCompilerModel::m_nCase},
    {kShift, &CCompilerModel::m_nShift},
    {kBlockCopy, &CCompilerModel::m_nBlockCopy},
    {kUnaligned, &CCompilerModel::m_nUnaligned},
    {kSoftPipe, &CCompilerModel::m_nSoftPipe},
};

constexpr ChoiceField kCpuChoices[] = {
    {kCpuDivision, &CCompilerModel::m_nCpuDivision},
    {kFpu, &CCompilerModel::m_nFpu},
    {kRound, &CCompilerModel::m_nRound},
    {kProjectType, &CCompilerModel::m_nProjectType},
};

void WriteField(std::string& out, const CCompilerModel& model, const ChoiceField& f) {
    WriteChoice(out, f.keys, model.*f.field);
}

} // namespace

std::string_view CompilerOutputExtension(int outputKind, int language) {
    switch (outputKind) {
    case kOutAsmCode:
        return ".s";
    case kOutPreprocessor:
    case kOutPreprocessorNoLine:
        return language == kLangCpp ? ".pp" : ".p";
    default:
        return ".o";
    }
}

std::string_view CompilerListExtension(int language) {
    switch (language) {
    case kLangCpp:
        return ".lpp";
    case kLangPreproAsm:
        return ".lis";
    default:
        return ".lst";
    }
}

CCompilerModel::CCompilerModel() : CModelBase(kPhaseCompiler) {
    ResetFields();
}

CCompilerModel::CCompilerModel(std::string_view fileType, std::string_view optionString)
    : CModelBase(kPhaseCompiler), m_strFileType(fileType) {
    ResetFields();
    Read(optionString);
}

CCompilerModel CCompilerModel::FromFileEntry(std::string_view fileEntry,
                                             std::string_view optionString) {
    size_t bar = fileEntry.find('|');
    std::string_view type =
        bar == std::string_view::npos ? std::string_view{} : fileEntry.substr(bar + 1);
    return CCompilerModel(type, optionString);
}

int CCompilerModel::LanguageOf(std::string_view fileType) {
    if (fileType.find("Preprocess Assembly") != std::string_view::npos) return kLangPreproAsm;
    if (fileType.find("++") != std::string_view::npos) return kLangCpp;
    return kLangC;
}

void CCompilerModel::ResetFields() {
    std::string fileType = std::move(m_strFileType);
    *this = CCompilerModel(NoReset{});
    m_strFileType = std::move(fileType);
    m_nLanguage = LanguageOf(m_strFileType);
    m_objPath = {"$(CONFIGDIR)", "$(FILELEAF)", std::string(CompilerOutputExtension(0, 0)), '\\'};
    m_listPath = {"$(CONFIGDIR)", "$(FILELEAF)", std::string(CompilerListExtension(m_nLanguage)),
                  '\\'};
    m_mapPath = {"$(CONFIGDIR)", "$(PROJECTNAME)", ".bls", '\\'};
}

// The Zenta limits are written for Zenta only, so for another family they
// must not stay in the model: a save keeps exactly what was read.
void CCompilerModel::AfterRead() { m_cpu.KeepZentaLimitsForZentaOnly(); }

void CCompilerModel::SetOutputKind(int kind) {
    m_nOutput = kind;
    m_objPath.ext = CompilerOutputExtension(kind, m_nLanguage);
}

void CCompilerModel::SetLanguage(int language) {
    m_nLanguage = language;
    m_listPath.ext = CompilerListExtension(language);
}

void CCompilerModel::SwitchToolchainHeaderDirs() {
    bool optimised = m_nOptLib == 1;
    for (std::string& dir : m_lstIncDirs) {
        if (!toolchain::IsToolchainHeaderDirectory(dir)) continue;
        if (optimised) {
            options::ReplaceAll(dir, "\\include", "\\optlibinc");
        } else {
            options::ReplaceAll(dir, "\\optlibinc", "\\include");
        }
    }
    m_nHeaderForm = optimised ? 1 : 0;
}

int CCompilerModel::EffectiveAbsClass(int kind) const {
    int cls = m_aAbsClass[static_cast<size_t>(kind)];
    bool keepsMiddleClasses = m_cpu.m_nCpuType == 3 || m_cpu.m_nCpuType == 4;
    if ((cls == 1 || cls == 2) && !keepsMiddleClasses) return kAbsClass32;
    return cls;
}

bool CCompilerModel::AllGroup1Warnings() const {
    for (bool on : m_aWarn1)
        if (!on) return false;
    return true;
}

// ---- reading -------------------------------------------------------------------

namespace {

template <size_t N> std::span<bool> Flags(std::array<bool, N>& a) {
    return a;
}

void AddValueKeys(KeyIndex<CCompilerModel>& k);

const KeyIndex<CCompilerModel>& Keys() {
    static const KeyIndex<CCompilerModel> index = [] {
        KeyIndex<CCompilerModel> k;
        using M = CCompilerModel;
        // Source.
        k.AddChoice(kWInhibit, &M::m_nWInhibit);
        k.AddFlags(kWarn1Keys, [](M& m) { return Flags(m.m_aWarn1); });
        k.AddFlags(kWarn2Keys, [](M& m) { return Flags(m.m_aWarn2); });
        k.AddEffect(kWAll, [](M& m, int) { m.m_aWarn1.fill(true); });
        // Object.
        for (const ChoiceField& f : kObjectChoices) k.AddChoice(f.keys, f.field);
        k.AddEffect(kDebugLevelOff, [](M& m, int) {
            m.m_nDebug = 0;
            m.m_nDebugLevel = 2;
        });
        k.AddEffect(kAlign16Old, [](M& m, int) { m.m_nAlign = 1; });
        // List.
        k.AddChoice(kListing, &M::m_nListing);
        k.AddFlags(kListContentKeys, [](M& m) { return Flags(m.m_aListContents); });
        // Optimize; a small map never replaces a full one read earlier.
        for (const ChoiceField& f : kOptimizeChoices) k.AddChoice(f.keys, f.field);
        for (const ChoiceField& f : kInlineControls) k.AddChoice(f.keys, f.field);
        k.AddEffect(kMap[1], [](M& m, int) {
            if (m.m_nMap != 2) m.m_nMap = 1;
        });
        k.AddEffect(kMap[2], [](M& m, int) { m.m_nMap = 2; });
        // CPU.
        for (const ChoiceField& f : kCpuChoices) k.AddChoice(f.keys, f.field);
        for (int i = 0; i < 2; ++i)
            k.AddEffect(
                CpuEndianKeys()[static_cast<size_t>(i)],
                [](M& m, int arg) { m.m_cpu.m_nEndian = arg; }, i);
        for (int family : {toolchain::kCodeCorvo, toolchain::kCodePelka, toolchain::kCodeZenta}) {
            KeyList keys = FamilyFlagKeys(family);
            for (size_t pos = 0; pos < keys.size(); ++pos)
                k.AddEffect(
                    keys[pos],
                    [](M& m, int arg) {
                        m.m_cpu.m_aFamilyFlags[static_cast<size_t>(arg % 16)] = true;
                        m.m_cpu.m_nFamilyCode = arg / 16;
                    },
                    family * 16 + static_cast<int>(pos));
        }
        k.AddEffect(CpuSmallDataSwitch(), [](M& m, int) { m.m_cpu.m_bSmallDataEnabled = true; });
        // Other.
        k.AddFlags(kOtherKeys, [](M& m) { return Flags(m.m_aOther); });
        k.AddEffect(kFuncSectsAlias, [](M&, int) {});
        k.AddChoice(kLanguage, &M::m_nLanguage);
        k.AddChoice(kOptLib, &M::m_nOptLib);
        k.AddChoice(kChgIncPath, &M::m_nChgIncPath);
        AddValueKeys(k);
        return k;
    }();
    return index;
}

void ReadObjPath(CCompilerModel& m, std::string_view v, int) {
    m.m_objPath = PathParts::Split(QuotedText(v));
}

void ReadSectionNames(CCompilerModel& m, std::string_view v, int) {
    std::vector<std::string> entries;
    AppendListValue(entries, EnclosedValue(v), false);
    for (const std::string& entry : entries) {
        if (entry.size() < 2 || entry[1] != '=') continue;
        for (size_t i = 0; i < std::size(kSectionLetters); ++i)
            if (entry[0] == kSectionLetters[i]) m.m_aSectionNames[i] = entry.substr(2);
    }
}

void ReadAbsClass(CCompilerModel& m, std::string_view v, int cls) {
    std::vector<std::string> kinds;
    AppendListValue(kinds, v, false);
    for (const std::string& kind : kinds) {
        if (kind == kAllKinds) m.m_aAbsClass.fill(cls);
        int k = MatchKey(kSectionKinds, kind);
        if (k >= 0) m.m_aAbsClass[static_cast<size_t>(k)] = cls;
    }
}

void ReadUserOptions(CCompilerModel& m, std::string_view v, int) {
    std::string_view text = QuotedText(v);
    if (text.empty()) return;
    if (!m.m_strUserOptions.empty()) m.m_strUserOptions += ' ';
    m.m_strUserOptions += text;
}

void AddValueKeys(KeyIndex<CCompilerModel>& k) {
    {
        using M = CCompilerModel;
        // Source.
        k.AddPrefix(kIncDir, [](M& m, std::string_view v, int) {
            AppendListValue(m.m_lstIncDirs, v, true);
        });
        k.AddPrefix(kPreInclude, [](M& m, std::string_view v, int) {
            AppendListValue(m.m_lstPreIncludes, v, true);
        });
        k.AddPrefix(kDefines, [](M& m, std::string_view v, int) {
            AppendListValue(m.m_lstDefines, EnclosedValue(v), false);
        });
        k.AddPrefix(kFileInlinePath, [](M& m, std::string_view v, int) {
            AppendListValue(m.m_lstFileInlinePaths, v, true);
        });
        // Object.
        k.AddPrefix(kObjPath, ReadObjPath);
        k.AddPrefix(kSection, ReadSectionNames);
        k.AddPrefix(kAssembly,
                    [](M& m, std::string_view v, int) { m.m_strAssembly = QuotedText(v); });
        k.AddPrefix(kStuffSection, [](M& m, std::string_view v, int) {
            for (size_t i = 0; i < m.m_aStuff.size(); ++i)
                m.m_aStuff[i] = v.find(kStuffNames[i]) != std::string_view::npos;
        });
        for (size_t cls = 0; cls < std::size(kAbsPrefixes); ++cls)
            k.AddPrefix(kAbsPrefixes[cls], ReadAbsClass, static_cast<int>(cls));
        // List and optimize.
        k.AddPrefix(kLFile, [](M& m, std::string_view v, int) {
            m.m_listPath = PathParts::Split(QuotedText(v));
        });
        k.AddPrefix(kMapPath, [](M& m, std::string_view v, int) {
            m.m_mapPath = PathParts::Split(QuotedText(v));
        });
        k.AddPrefix(kFileInline, [](M& m, std::string_view v, int) {
            AppendListValue(m.m_lstFileInline, v, true);
        });
        // Other.
        k.AddPrefix(kAppTxt, ReadUserOptions);
        // CPU keys with a value, through the shared CPU reader.
        std::span<const std::string_view> cpuPrefixes = CpuValuePrefixes();
        for (size_t i = 0; i < cpuPrefixes.size(); ++i) {
            k.AddPrefix(
                cpuPrefixes[i],
                [](M& m, std::string_view v, int arg) {
                    m.m_cpu.ReadValue(CpuValuePrefixes()[static_cast<size_t>(arg)], v);
                },
                static_cast<int>(i));
        }
    }
}

} // namespace

bool CCompilerModel::ReadToken(std::string_view body) {
    // Every key by one lookup; unknown tokens go to the build-control
    // switches and are dropped after that.
    return Keys().Apply(*this, body);
}

// ---- writing -------------------------------------------------------------------

void CCompilerModel::WriteTokens(std::string& out) const {
    WriteSource(out);
    WriteObject(out);
    WriteList(out);
    WriteOptimize(out);
    WriteOther(out);
    WriteCpu(out);
    WriteChoice(out, kOptLib, m_nOptLib);
    WriteChoice(out, kChgIncPath, m_nChgIncPath);
}

void CCompilerModel::WriteSource(std::string& out) const {
    AppendQuotedList(out, kIncDir, m_lstIncDirs);
    AppendQuotedList(out, kPreInclude, m_lstPreIncludes);
    std::vector<std::string> defines;
    for (const std::string& d : m_lstDefines)
        if (!d.empty()) defines.push_back(d);
    if (!defines.empty()) AppendJoinedValue(out, kDefines, Join(defines, "|"));
    if (AllGroup1Warnings()) {
        AppendBody(out, kWAll);
    } else {
        WriteFlags(out, kWarn1Keys, m_aWarn1);
    }
    WriteFlags(out, kWarn2Keys, m_aWarn2);
    WriteChoice(out, kWInhibit, m_nWInhibit);
    AppendQuotedList(out, kFileInlinePath, m_lstFileInlinePaths);
}

void CCompilerModel::WriteObject(std::string& out) const {
    WriteChoice(out, kOutput, m_nOutput);
    AppendQuoted(out, kObjPath, m_objPath.Join());
    WriteChoice(out, kDebug, m_nDebug);
    WriteChoice(out, kDebugFormat, m_nDebugFormat);
    WriteChoice(out, kDebugLevel, m_nDebugLevel);

    std::vector<std::string> sections;
    for (size_t i = 0; i < m_aSectionNames.size(); ++i) {
        if (m_aSectionNames[i] == kSectionDefaults[i]) continue;
        std::string entry(1, kSectionLetters[i]);
        entry += '=';
        entry += m_aSectionNames[i];
        sections.push_back(std::move(entry));
    }
    if (!sections.empty()) AppendJoinedValue(out, kSection, Join(sections, "|"));
    WriteChoice(out, kStringData, m_nStringData);

    for (int cls = 0; cls < kAbsClass32; ++cls) {
        std::string body(kAbsPrefixes[static_cast<size_t>(cls)]);
        bool any = false;
        for (int kind = 0; kind < kSectionKindCount; ++kind) {
            if (EffectiveAbsClass(kind) != cls) continue;
            if (any) body += '|';
            body += kSectionKinds[static_cast<size_t>(kind)];
            any = true;
        }
        if (any) AppendBody(out, body);
    }

    WriteChoice(out, kDivision, m_nDivision);
    WriteChoice(out, kNoLine, m_nNoLine);
    WriteChoice(out, kIFunc, m_nIFunc);
    WriteChoice(out, kAlign, m_nAlign);
    WriteChoice(out, kAlign4Scope, m_nAlign4Scope);
    WriteChoice(out, kTemplate, m_nTemplate);
    if (!m_strAssembly.empty()) AppendQuoted(out, kAssembly, m_strAssembly);
    // Stuffing is kept across a write so that an edit does not drop it.
    std::string stuff(kStuffSection);
    bool anyStuff = false;
    for (size_t i = 0; i < m_aStuff.size(); ++i) {
        if (!m_aStuff[i]) continue;
        if (anyStuff) stuff += '|';
        stuff += kStuffNames[i];
        anyStuff = true;
    }
    if (anyStuff) AppendBody(out, stuff);
    WriteChoice(out, kStuffGbr, m_nStuffGbr);
}

void CCompilerModel::WriteList(std::string& out) const {
    if (m_nListing == 1) {
        WriteChoice(out, kListing, m_nListing);
        AppendQuoted(out, kLFile, m_listPath.Join());
    }
    WriteFlags(out, kListContentKeys, m_aListContents);
}

void CCompilerModel::WriteOptimize(std::string& out) const {
    WriteChoice(out, kOptimize, m_nOptimize);
    WriteChoice(out, kLto, m_nLto);
    WriteChoice(out, kOptLevel, m_nOptLevel);
    WriteChoice(out, kMap, m_nMap);
    if (m_nMap == 2) AppendQuoted(out, kMapPath, m_mapPath.Join());
    for (const ChoiceField& f : kInlineControls) WriteField(out, *this, f);
    AppendQuotedList(out, kFileInline, m_lstFileInline);
}

void CCompilerModel::WriteOther(std::string& out) const {
    WriteFlags(out, kOtherKeys, m_aOther);
    if (!m_strUserOptions.empty()) AppendQuoted(out, kAppTxt, m_strUserOptions);
    WriteChoice(out, kLanguage, m_nLanguage);
}

void CCompilerModel::WriteCpu(std::string& out) const {
    m_cpu.WriteCpuTypeAndEndian(out);
    WriteChoice(out, kCpuDivision, m_nCpuDivision);
    WriteChoice(out, kFpu, m_nFpu);
    WriteChoice(out, kRound, m_nRound);
    m_cpu.WriteFamilyKeys(out);
    WriteChoice(out, kProjectType, m_nProjectType);
}

} // namespace quorle::models
