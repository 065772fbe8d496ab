#include "models/assembler_model.h"

#include "core/table_checks.h"
#include "models/assembler_keys.h"
#include "models/cpu_options.h"

namespace quorle::models {

using namespace assembler_keys;

static_assert(std::size(kSwitchOptions) == kAsmSwitchCount);
static_assert(std::size(kListContentOptions) == kAsmListContentCount);
constexpr auto kKeyOf = [](const FlagOption& row) { return row.key; };
constexpr auto kFlagOf = [](const FlagOption& row) { return row.flag; };
static_assert(AllDistinct(kSwitchOptions, kKeyOf) && AllDistinct(kSwitchOptions, kFlagOf));
static_assert(AllDistinct(kListContentOptions, kKeyOf) &&
              AllDistinct(kListContentOptions, kFlagOf));
namespace tc = quorle::toolchain;

namespace {

struct ChoiceField {
    KeyList keys;
    int AssemblerModel::*field;
};

// Index fields in declaration order, which is also the order they are
// written in relative to each other.
constexpr ChoiceField kHead[] = {
    {kEndian, &AssemblerModel::endian_},
    {kRound, &AssemblerModel::round_},
    {kDenormal, &AssemblerModel::denormal_},
};
constexpr ChoiceField kMiddle[] = {
    {kInCode, &AssemblerModel::inCode_},
    {kDebugLevel, &AssemblerModel::debugLevel_},
    {kGenObj, &AssemblerModel::genObj_},
    {kFoldSec, &AssemblerModel::foldSec_},
};
constexpr ChoiceField kAfterObject[] = {
    {kOutCode, &AssemblerModel::outCode_},
    {kDispSize, &AssemblerModel::dispSize_},
    {kListing, &AssemblerModel::listing_},
};
constexpr ChoiceField kTail[] = {
    {kSource, &AssemblerModel::source_},           {kErrorPath, &AssemblerModel::errorPath_},
    {kChgIncPath, &AssemblerModel::chgIncPath_},   {kProjectType, &AssemblerModel::projectType_},
    {kShowTab, &AssemblerModel::showTab_},         {kCrossRef, &AssemblerModel::crossRef_},
    {kListSection, &AssemblerModel::listSection_},
};
constexpr KeyList kShowTables[] = {kShowCond, kShowDef, kShowCall, kShowExp, kShowCode};

const PathParts kDefaultListPath{"$(CONFIGDIR)", "$(FILELEAF)", "", '\\'};

constexpr int kKeyFamilies[] = {tc::kCodeCorvo, tc::kCodePelka, tc::kCodeZenta};

bool ReadChoices(AssemblerModel& m, std::span<const ChoiceField> fields, std::string_view body) {
    for (const ChoiceField& f : fields)
        if (ReadChoice(f.keys, body, m.*f.field)) return true;
    return false;
}

void WriteChoices(std::string& out, const AssemblerModel& m, std::span<const ChoiceField> fields) {
    for (const ChoiceField& f : fields) WriteChoice(out, f.keys, m.*f.field);
}

std::string WithDefaultExtension(const PathParts& path, std::string_view ext) {
    PathParts full = path;
    if (full.ext.empty()) full.ext = ext;
    if (full.sep == 0 && !full.dir.empty()) full.sep = '\\';
    return full.Join();
}

} // namespace

AssemblerModel::AssemblerModel() : ModelBase(kPhaseAssembler) {}

AssemblerModel::AssemblerModel(std::string_view optionString) : ModelBase(kPhaseAssembler) {
    Read(optionString);
}

void AssemblerModel::ResetFields() {
    *this = AssemblerModel(NoReset{});
}

std::string AssemblerModel::ObjectFile() const {
    return WithDefaultExtension(objPath_, ".o");
}

std::string AssemblerModel::ListFile() const {
    return WithDefaultExtension(listPath_, ".lis");
}

bool AssemblerModel::ReadToken(std::string_view body) {
    if (auto v = ValueAfter(body, kCpuType)) {
        if (auto match = tc::FindCpuType(*v)) {
            familyCode_ = match->familyCode;
            cpuType_ = match->row;
        }
        return true;
    }
    if (ReadChoices(*this, kHead, body) || ReadChoices(*this, kMiddle, body) ||
        ReadChoices(*this, kAfterObject, body) || ReadChoices(*this, kTail, body))
        return true;
    for (int family : kKeyFamilies) {
        if (ReadFlags(FamilyFlagKeys(family), body, targetFlags_)) {
            flagKeyFamily_ = family;
            return true;
        }
    }
    for (size_t i = 0; i < std::size(kShowTables); ++i)
        if (ReadChoice(kShowTables[i], body, show_[i])) return true;
    if (ReadFlags(kListContentKeys, body, listContents_) ||
        ReadFlags(kSwitchKeys, body, switches_) || ReadChoice(kMaxVarsFlag, body, maxVarsFlag_))
        return true;
    if (auto v = ValueAfter(body, kCpuSelect)) {
        targetFlags_[tc::kZentaCpuSelectPos] = *v != "Other";
        flagKeyFamily_ = tc::kCodeZenta;
    } else if (auto v = ValueAfter(body, kIntRegVal)) {
        intRegVal_ = ReadNumber(*v);
    } else if (auto v = ValueAfter(body, kMaxConstVal)) {
        maxConstVal_ = ReadNumber(*v);
    } else if (auto v = ValueAfter(body, kMaxVarsVal)) {
        maxVarsVal_ = ReadNumber(*v);
    } else if (auto v = ValueAfter(body, kIncDir)) {
        AppendListValue(incDirs_, *v, true);
    } else if (auto v = ValueAfter(body, kDefines)) {
        AppendListValue(defines_, EnclosedValue(*v), false);
    } else if (auto v = ValueAfter(body, kAssignA)) {
        AppendListValue(assigns_, EnclosedValue(*v), false);
    } else if (auto v = ValueAfter(body, kAssignC)) {
        AppendListValue(assigns_, EnclosedValue(*v), false);
    } else if (auto v = ValueAfter(body, kObjPath)) {
        objPath_ = PathParts::Split(QuotedText(*v));
    } else if (auto v = ValueAfter(body, kLFile)) {
        listPath_ = PathParts::Split(QuotedText(*v));
    } else if (auto v = ValueAfter(body, kAppTxt)) {
        extra_ = QuotedText(*v);
    } else {
        return false;
    }
    return true;
}

void AssemblerModel::WriteTokens(std::string& out) const {
    if (const tc::CpuRow* row = tc::CpuRowAt(familyCode_, cpuType_)) {
        std::string body(kCpuType);
        body += row->value;
        AppendBody(out, body);
    }
    WriteChoices(out, *this, kHead);

    int keyFamily = FamilyFlagKeys(familyCode_).empty() ? flagKeyFamily_ : familyCode_;
    if (keyFamily == tc::kCodeZenta && targetFlags_[tc::kZentaCpuSelectPos]) {
        std::string select(kCpuSelect);
        select += tc::kZentaExtraCpu;
        AppendBody(out, select);
    }
    WriteFlags(out, FamilyFlagKeys(keyFamily), targetFlags_);
    WriteChoice(out, kMaxVarsFlag, maxVarsFlag_);
    if (intRegVal_ != 0) AppendNumber(out, kIntRegVal, intRegVal_);
    if (maxConstVal_ != 0) AppendNumber(out, kMaxConstVal, maxConstVal_);
    if (maxVarsVal_ != 0) AppendNumber(out, kMaxVarsVal, maxVarsVal_);

    AppendQuotedList(out, kIncDir, incDirs_);
    std::vector<std::string> defines;
    for (const std::string& d : defines_)
        if (!d.empty()) defines.push_back(d);
    if (!defines.empty()) AppendJoinedValue(out, kDefines, Join(defines, "|"));
    // Entries with a double quote go under ASSIGNC, written first.
    std::vector<std::string> withQuote;
    std::vector<std::string> plain;
    for (const std::string& a : assigns_) {
        if (a.empty()) continue;
        (a.find('"') != std::string::npos ? withQuote : plain).push_back(a);
    }
    if (!withQuote.empty()) AppendJoinedValue(out, kAssignC, Join(withQuote, "|"));
    if (!plain.empty()) AppendJoinedValue(out, kAssignA, Join(plain, "|"));

    WriteChoices(out, *this, kMiddle);
    AppendQuoted(out, kObjPath, objPath_.Join());
    WriteChoices(out, *this, kAfterObject);
    WriteFlags(out, kListContentKeys, listContents_);
    if (listing_ == 1 || !(listPath_ == kDefaultListPath))
        AppendQuoted(out, kLFile, listPath_.Join());
    WriteFlags(out, kSwitchKeys, switches_);
    if (!extra_.empty()) AppendQuoted(out, kAppTxt, extra_);
    WriteChoices(out, *this, kTail);
    for (size_t i = 0; i < std::size(kShowTables); ++i) WriteChoice(out, kShowTables[i], show_[i]);
}

} // namespace quorle::models
