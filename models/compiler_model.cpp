#include "models/compiler_model.h"

#include "core/table_checks.h"
#include "core/text_replace.h"
#include "models/compiler_keys.h"
#include "models/key_index.h"
#include "options/option_string.h"
#include "toolchain/family.h"

namespace quorle::models {

using namespace compiler_keys;

// A key or flag written twice would make two switches read or write the same
// token.
constexpr auto kKeyOf = [](const FlagOption& row) { return row.key; };
constexpr auto kFlagOf = [](const FlagOption& row) { return row.flag; };
static_assert(AllDistinct(kWarn1Options, kKeyOf) && AllDistinct(kWarn1Options, kFlagOf));
static_assert(AllDistinct(kWarn2Options, kKeyOf) && AllDistinct(kWarn2Options, kFlagOf));
static_assert(AllDistinct(kOtherOptions, kKeyOf));

namespace {

// An integer field whose value is the position of its token in a table.
struct ChoiceField {
    KeyList keys;
    int CompilerModel::*field;
};

constexpr ChoiceField kObjectChoices[] = {
    {kOutput, &CompilerModel::output_},
    {kDebug, &CompilerModel::debug_},
    {kDebugLevel, &CompilerModel::debugLevel_},
    {kDebugFormat, &CompilerModel::debugFormat_},
    {kStringData, &CompilerModel::stringData_},
    {kTemplate, &CompilerModel::template_},
    {kDivision, &CompilerModel::division_},
    {kNoLine, &CompilerModel::noLine_},
    {kIFunc, &CompilerModel::iFunc_},
    {kAlign, &CompilerModel::align_},
    {kAlign4Scope, &CompilerModel::align4Scope_},
    {kStuffGbr, &CompilerModel::stuffGbr_},
};

// The optimize keys besides the inline controls below.
constexpr ChoiceField kOptimizeChoices[] = {
    {kOptimize, &CompilerModel::optimize_},
    {kOptLevel, &CompilerModel::optLevel_},
    {kLto, &CompilerModel::lto_},
    {kOptimizeOld, &CompilerModel::optimizeOld_},
    {kGOptimize, &CompilerModel::gOptimize_},
};

// Inline-control keys in their written order (after the map keys).
constexpr ChoiceField kInlineControls[] = {
    {kCppNoInline, &CompilerModel::cppNoInline_},
    {kCase, &CompilerModel::case_},
    {kShift, &CompilerModel::shift_},
    {kBlockCopy, &CompilerModel::blockCopy_},
    {kUnaligned, &CompilerModel::unaligned_},
    {kSoftPipe, &CompilerModel::softPipe_},
};

constexpr ChoiceField kCpuChoices[] = {
    {kCpuDivision, &CompilerModel::cpuDivision_},
    {kFpu, &CompilerModel::fpu_},
    {kRound, &CompilerModel::round_},
    {kProjectType, &CompilerModel::projectType_},
};

void WriteField(std::string& out, const CompilerModel& model, const ChoiceField& f) {
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

CompilerModel::CompilerModel() : ModelBase(kPhaseCompiler) {
    ResetFields();
}

CompilerModel::CompilerModel(std::string_view fileType, std::string_view optionString)
    : ModelBase(kPhaseCompiler) {
    fileType_ = fileType;
    ResetFields();
    Read(optionString);
}

CompilerModel CompilerModel::FromFileEntry(std::string_view fileEntry,
                                           std::string_view optionString) {
    size_t bar = fileEntry.find('|');
    std::string_view type =
        bar == std::string_view::npos ? std::string_view{} : fileEntry.substr(bar + 1);
    return CompilerModel(type, optionString);
}

int CompilerModel::LanguageOf(std::string_view fileType) {
    if (fileType.find("Preprocess Assembly") != std::string_view::npos) return kLangPreproAsm;
    if (fileType.find("++") != std::string_view::npos) return kLangCpp;
    return kLangC;
}

void CompilerModel::ResetFields() {
    std::string fileType = std::move(fileType_);
    static_cast<CompilerFields&>(*this) = CompilerFields{};
    fileType_ = std::move(fileType);
    language_ = LanguageOf(fileType_);
    objPath_ = {"$(CONFIGDIR)", "$(FILELEAF)", std::string(CompilerOutputExtension(0, 0)), '\\'};
    listPath_ = {"$(CONFIGDIR)", "$(FILELEAF)", std::string(CompilerListExtension(language_)),
                 '\\'};
    mapPath_ = {"$(CONFIGDIR)", "$(PROJECTNAME)", ".bls", '\\'};
}

// The Zenta limits are written for Zenta only, so for another family they
// must not stay in the model: a save keeps exactly what was read.
void CompilerModel::AfterRead() {
    cpu_.KeepZentaLimitsForZentaOnly();
}

void CompilerModel::SetOutputKind(int kind) {
    output_ = kind;
    objPath_.ext = CompilerOutputExtension(kind, language_);
}

void CompilerModel::SetLanguage(int language) {
    language_ = language;
    listPath_.ext = CompilerListExtension(language);
}

void CompilerModel::SwitchToolchainHeaderDirs() {
    bool optimised = optLib_ == 1;
    for (std::string& dir : incDirs_) {
        if (!toolchain::IsToolchainHeaderDirectory(dir)) continue;
        if (optimised) {
            core::ReplaceAll(dir, "\\include", "\\optlibinc");
        } else {
            core::ReplaceAll(dir, "\\optlibinc", "\\include");
        }
    }
    headerForm_ = optimised ? 1 : 0;
}

int CompilerModel::EffectiveAbsClass(int kind) const {
    int cls = absClass_[static_cast<size_t>(kind)];
    bool keepsMiddleClasses = cpu_.cpuType_ == 3 || cpu_.cpuType_ == 4;
    if ((cls == 1 || cls == 2) && !keepsMiddleClasses) return kAbsClass32;
    return cls;
}

bool CompilerModel::AllGroup1Warnings() const {
    for (bool on : warn1_)
        if (!on) return false;
    return true;
}

// ---- reading -------------------------------------------------------------------

namespace {

template <size_t N> std::span<bool> Flags(std::array<bool, N>& a) {
    return a;
}

void AddValueKeys(KeyIndex<CompilerModel>& k);

const KeyIndex<CompilerModel>& Keys() {
    static const KeyIndex<CompilerModel> index = [] {
        KeyIndex<CompilerModel> k;
        using M = CompilerModel;
        // Source.
        k.AddChoice(kWInhibit, &M::wInhibit_);
        k.AddFlags(kWarn1Keys, [](M& m) { return Flags(m.warn1_); });
        k.AddFlags(kWarn2Keys, [](M& m) { return Flags(m.warn2_); });
        k.AddEffect(kWAll, [](M& m, int) { m.warn1_.fill(true); });
        // Object.
        for (const ChoiceField& f : kObjectChoices) k.AddChoice(f.keys, f.field);
        k.AddEffect(kDebugLevelOff, [](M& m, int) {
            m.debug_ = 0;
            m.debugLevel_ = 2;
        });
        k.AddEffect(kAlign16Old, [](M& m, int) { m.align_ = 1; });
        // List.
        k.AddChoice(kListing, &M::listing_);
        k.AddFlags(kListContentKeys, [](M& m) { return Flags(m.listContents_); });
        // Optimize; a small map never replaces a full one read earlier.
        for (const ChoiceField& f : kOptimizeChoices) k.AddChoice(f.keys, f.field);
        for (const ChoiceField& f : kInlineControls) k.AddChoice(f.keys, f.field);
        k.AddEffect(kMap[1], [](M& m, int) {
            if (m.map_ != 2) m.map_ = 1;
        });
        k.AddEffect(kMap[2], [](M& m, int) { m.map_ = 2; });
        // CPU.
        for (const ChoiceField& f : kCpuChoices) k.AddChoice(f.keys, f.field);
        for (int i = 0; i < 2; ++i)
            k.AddEffect(
                CpuEndianKeys()[static_cast<size_t>(i)],
                [](M& m, int arg) { m.cpu_.endian_ = arg; }, i);
        for (int family : {toolchain::kCodeCorvo, toolchain::kCodePelka, toolchain::kCodeZenta}) {
            KeyList keys = FamilyFlagKeys(family);
            for (size_t pos = 0; pos < keys.size(); ++pos)
                k.AddEffect(
                    keys[pos],
                    [](M& m, int arg) {
                        m.cpu_.familyFlags_[static_cast<size_t>(arg % 16)] = true;
                        m.cpu_.familyCode_ = arg / 16;
                    },
                    family * 16 + static_cast<int>(pos));
        }
        k.AddEffect(CpuSmallDataSwitch(), [](M& m, int) { m.cpu_.smallDataEnabled_ = true; });
        // Other.
        k.AddFlags(kOtherKeys, [](M& m) { return Flags(m.other_); });
        k.AddEffect(kFuncSectsAlias, [](M&, int) {});
        k.AddChoice(kLanguage, &M::language_);
        k.AddChoice(kOptLib, &M::optLib_);
        k.AddChoice(kChgIncPath, &M::chgIncPath_);
        AddValueKeys(k);
        return k;
    }();
    return index;
}

void ReadObjPath(CompilerModel& m, std::string_view v, int) {
    m.objPath_ = PathParts::Split(QuotedText(v));
}

void ReadSectionNames(CompilerModel& m, std::string_view v, int) {
    std::vector<std::string> entries;
    AppendListValue(entries, EnclosedValue(v), false);
    for (const std::string& entry : entries) {
        if (entry.size() < 2 || entry[1] != '=') continue;
        for (size_t i = 0; i < std::size(kSectionLetters); ++i)
            if (entry[0] == kSectionLetters[i]) m.sectionNames_[i] = entry.substr(2);
    }
}

void ReadAbsClass(CompilerModel& m, std::string_view v, int cls) {
    std::vector<std::string> kinds;
    AppendListValue(kinds, v, false);
    for (const std::string& kind : kinds) {
        if (kind == kAllKinds) m.absClass_.fill(cls);
        int k = MatchKey(kSectionKinds, kind);
        if (k >= 0) m.absClass_[static_cast<size_t>(k)] = cls;
    }
}

void ReadUserOptions(CompilerModel& m, std::string_view v, int) {
    std::string_view text = QuotedText(v);
    if (text.empty()) return;
    if (!m.userOptions_.empty()) m.userOptions_ += ' ';
    m.userOptions_ += text;
}

void AddValueKeys(KeyIndex<CompilerModel>& k) {
    {
        using M = CompilerModel;
        // Source.
        k.AddPrefix(kIncDir,
                    [](M& m, std::string_view v, int) { AppendListValue(m.incDirs_, v, true); });
        k.AddPrefix(kPreInclude, [](M& m, std::string_view v, int) {
            AppendListValue(m.preIncludes_, v, true);
        });
        k.AddPrefix(kDefines, [](M& m, std::string_view v, int) {
            AppendListValue(m.defines_, EnclosedValue(v), false);
        });
        k.AddPrefix(kFileInlinePath, [](M& m, std::string_view v, int) {
            AppendListValue(m.fileInlinePaths_, v, true);
        });
        // Object.
        k.AddPrefix(kObjPath, ReadObjPath);
        k.AddPrefix(kSection, ReadSectionNames);
        k.AddPrefix(kAssembly, [](M& m, std::string_view v, int) { m.assembly_ = QuotedText(v); });
        k.AddPrefix(kStuffSection, [](M& m, std::string_view v, int) {
            for (size_t i = 0; i < m.stuff_.size(); ++i)
                m.stuff_[i] = v.find(kStuffNames[i]) != std::string_view::npos;
        });
        for (size_t cls = 0; cls < std::size(kAbsPrefixes); ++cls)
            k.AddPrefix(kAbsPrefixes[cls], ReadAbsClass, static_cast<int>(cls));
        // List and optimize.
        k.AddPrefix(kLFile, [](M& m, std::string_view v, int) {
            m.listPath_ = PathParts::Split(QuotedText(v));
        });
        k.AddPrefix(kMapPath, [](M& m, std::string_view v, int) {
            m.mapPath_ = PathParts::Split(QuotedText(v));
        });
        k.AddPrefix(kFileInline,
                    [](M& m, std::string_view v, int) { AppendListValue(m.fileInline_, v, true); });
        // Other.
        k.AddPrefix(kAppTxt, ReadUserOptions);
        // CPU keys with a value, through the shared CPU reader.
        std::span<const std::string_view> cpuPrefixes = CpuValuePrefixes();
        for (size_t i = 0; i < cpuPrefixes.size(); ++i) {
            k.AddPrefix(
                cpuPrefixes[i],
                [](M& m, std::string_view v, int arg) {
                    m.cpu_.ReadValue(CpuValuePrefixes()[static_cast<size_t>(arg)], v);
                },
                static_cast<int>(i));
        }
    }
}

} // namespace

const KeyRegistry& CompilerModel::ReadKeys() {
    return Keys().Registry();
}

bool CompilerModel::ReadToken(std::string_view body) {
    // Every key by one lookup; unknown tokens go to the build-control
    // switches and are dropped after that.
    return Keys().Apply(*this, body);
}

// ---- writing -------------------------------------------------------------------

void CompilerModel::WriteTokens(std::string& out) const {
    WriteSource(out);
    WriteObject(out);
    WriteList(out);
    WriteOptimize(out);
    WriteOther(out);
    WriteCpu(out);
    WriteChoice(out, kOptLib, optLib_);
    WriteChoice(out, kChgIncPath, chgIncPath_);
}

void CompilerModel::WriteSource(std::string& out) const {
    AppendQuotedList(out, kIncDir, incDirs_);
    AppendQuotedList(out, kPreInclude, preIncludes_);
    std::vector<std::string> defines;
    for (const std::string& d : defines_)
        if (!d.empty()) defines.push_back(d);
    if (!defines.empty()) AppendJoinedValue(out, kDefines, Join(defines, "|"));
    if (AllGroup1Warnings()) {
        AppendBody(out, kWAll);
    } else {
        WriteFlags(out, kWarn1Keys, warn1_);
    }
    WriteFlags(out, kWarn2Keys, warn2_);
    WriteChoice(out, kWInhibit, wInhibit_);
    AppendQuotedList(out, kFileInlinePath, fileInlinePaths_);
}

void CompilerModel::WriteObject(std::string& out) const {
    WriteChoice(out, kOutput, output_);
    AppendQuoted(out, kObjPath, objPath_.Join());
    WriteChoice(out, kDebug, debug_);
    WriteChoice(out, kDebugFormat, debugFormat_);
    WriteChoice(out, kDebugLevel, debugLevel_);

    std::vector<std::string> sections;
    for (size_t i = 0; i < sectionNames_.size(); ++i) {
        if (sectionNames_[i] == kSectionDefaults[i]) continue;
        std::string entry(1, kSectionLetters[i]);
        entry += '=';
        entry += sectionNames_[i];
        sections.push_back(std::move(entry));
    }
    if (!sections.empty()) AppendJoinedValue(out, kSection, Join(sections, "|"));
    WriteChoice(out, kStringData, stringData_);

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

    WriteChoice(out, kDivision, division_);
    WriteChoice(out, kNoLine, noLine_);
    WriteChoice(out, kIFunc, iFunc_);
    WriteChoice(out, kAlign, align_);
    WriteChoice(out, kAlign4Scope, align4Scope_);
    WriteChoice(out, kTemplate, template_);
    if (!assembly_.empty()) AppendQuoted(out, kAssembly, assembly_);
    // Stuffing is kept across a write so that an edit does not drop it.
    std::string stuff(kStuffSection);
    bool anyStuff = false;
    for (size_t i = 0; i < stuff_.size(); ++i) {
        if (!stuff_[i]) continue;
        if (anyStuff) stuff += '|';
        stuff += kStuffNames[i];
        anyStuff = true;
    }
    if (anyStuff) AppendBody(out, stuff);
    WriteChoice(out, kStuffGbr, stuffGbr_);
}

void CompilerModel::WriteList(std::string& out) const {
    if (listing_ == 1) {
        WriteChoice(out, kListing, listing_);
        AppendQuoted(out, kLFile, listPath_.Join());
    }
    WriteFlags(out, kListContentKeys, listContents_);
}

void CompilerModel::WriteOptimize(std::string& out) const {
    WriteChoice(out, kOptimize, optimize_);
    WriteChoice(out, kLto, lto_);
    WriteChoice(out, kOptLevel, optLevel_);
    WriteChoice(out, kMap, map_);
    if (map_ == 2) AppendQuoted(out, kMapPath, mapPath_.Join());
    for (const ChoiceField& f : kInlineControls) WriteField(out, *this, f);
    AppendQuotedList(out, kFileInline, fileInline_);
}

void CompilerModel::WriteOther(std::string& out) const {
    WriteFlags(out, kOtherKeys, other_);
    if (!userOptions_.empty()) AppendQuoted(out, kAppTxt, userOptions_);
    WriteChoice(out, kLanguage, language_);
}

void CompilerModel::WriteCpu(std::string& out) const {
    cpu_.WriteCpuTypeAndEndian(out);
    WriteChoice(out, kCpuDivision, cpuDivision_);
    WriteChoice(out, kFpu, fpu_);
    WriteChoice(out, kRound, round_);
    cpu_.WriteFamilyKeys(out);
    WriteChoice(out, kProjectType, projectType_);
}

} // namespace quorle::models
