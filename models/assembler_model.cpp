#include "models/assembler_model.h"

#include "core/table_checks.h"
#include "models/assembler_keys.h"
#include "models/cpu_options.h"
#include "models/key_registry.h"

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
// The index fields in the order they are read.
constexpr std::span<const ChoiceField> kChoices[] = {kHead, kMiddle, kAfterObject, kTail};

// A "|"-joined list that may stand in double quotes as a whole.
void ReadList(std::vector<std::string>& list, std::string_view value) {
    AppendListValue(list, EnclosedValue(value), false);
}

// A key that carries a value, with what reading it does.
struct ValueKey {
    std::string_view prefix;
    void (*read)(AssemblerModel&, std::string_view value);
};
constexpr ValueKey kValueKeys[] = {
    {kCpuType,
     [](AssemblerModel& m, std::string_view v) {
         if (auto match = tc::FindCpuType(v)) {
             m.familyCode_ = match->familyCode;
             m.cpuType_ = match->row;
         }
     }},
    {kCpuSelect,
     [](AssemblerModel& m, std::string_view v) {
         m.targetFlags_[tc::kZentaCpuSelectPos] = v != "Other";
         m.flagKeyFamily_ = tc::kCodeZenta;
     }},
    {kIntRegVal, [](AssemblerModel& m, std::string_view v) { m.intRegVal_ = ReadNumber(v); }},
    {kMaxConstVal, [](AssemblerModel& m, std::string_view v) { m.maxConstVal_ = ReadNumber(v); }},
    {kMaxVarsVal, [](AssemblerModel& m, std::string_view v) { m.maxVarsVal_ = ReadNumber(v); }},
    {kIncDir, [](AssemblerModel& m, std::string_view v) { AppendListValue(m.incDirs_, v, true); }},
    {kDefines, [](AssemblerModel& m, std::string_view v) { ReadList(m.defines_, v); }},
    {kAssignA, [](AssemblerModel& m, std::string_view v) { ReadList(m.assigns_, v); }},
    {kAssignC, [](AssemblerModel& m, std::string_view v) { ReadList(m.assigns_, v); }},
    {kObjPath,
     [](AssemblerModel& m, std::string_view v) { m.objPath_ = PathParts::Split(QuotedText(v)); }},
    {kLFile,
     [](AssemblerModel& m, std::string_view v) { m.listPath_ = PathParts::Split(QuotedText(v)); }},
    {kAppTxt, [](AssemblerModel& m, std::string_view v) { m.extra_ = QuotedText(v); }},
};

const PathParts kDefaultListPath{"$(CONFIGDIR)", "$(FILELEAF)", "", '\\'};

constexpr int kKeyFamilies[] = {tc::kCodeCorvo, tc::kCodePelka, tc::kCodeZenta};

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

// Built from the tables ReadToken walks, in its order.
const KeyRegistry& AssemblerModel::ReadKeys() {
    static const KeyRegistry registry = [] {
        KeyRegistry r;
        for (std::span<const ChoiceField> fields : kChoices)
            for (const ChoiceField& f : fields) r.Add(f.keys);
        for (int family : kKeyFamilies) r.Add(FamilyFlagKeys(family));
        for (const ShowSetting& s : kShowSettings) r.Add(s.tokens);
        r.Add(kListContentKeys);
        r.Add(kSwitchKeys);
        r.Add(kMaxVarsFlag);
        for (const ValueKey& key : kValueKeys) r.Add(key.prefix);
        return r;
    }();
    return registry;
}

AssemblerModel::AssemblerModel() : ModelBase(kPhaseAssembler) {}

AssemblerModel::AssemblerModel(std::string_view optionString) : ModelBase(kPhaseAssembler) {
    Read(optionString);
}

void AssemblerModel::ResetFields() {
    static_cast<AssemblerFields&>(*this) = AssemblerFields{};
}

std::string AssemblerModel::ObjectFile() const {
    return WithDefaultExtension(objPath_, ".o");
}

std::string AssemblerModel::ListFile() const {
    return WithDefaultExtension(listPath_, ".lis");
}

bool AssemblerModel::ReadToken(std::string_view body) {
    if (!ReadKeys().Knows(body)) return false;
    for (std::span<const ChoiceField> fields : kChoices)
        for (const ChoiceField& f : fields)
            if (ReadChoice(f.keys, body, this->*f.field)) return true;
    for (int family : kKeyFamilies) {
        if (ReadFlags(FamilyFlagKeys(family), body, targetFlags_)) {
            flagKeyFamily_ = family;
            return true;
        }
    }
    for (size_t i = 0; i < std::size(kShowSettings); ++i)
        if (ReadChoice(kShowSettings[i].tokens, body, show_[i])) return true;
    if (ReadFlags(kListContentKeys, body, listContents_) ||
        ReadFlags(kSwitchKeys, body, switches_) || ReadChoice(kMaxVarsFlag, body, maxVarsFlag_))
        return true;
    for (const ValueKey& key : kValueKeys) {
        if (auto v = ValueAfter(body, key.prefix)) {
            key.read(*this, *v);
            return true;
        }
    }
    return false;
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
    for (size_t i = 0; i < std::size(kShowSettings); ++i)
        WriteChoice(out, kShowSettings[i].tokens, show_[i]);
}

} // namespace quorle::models
