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
    int CAssemblerModel::*field;
};

// Index fields in declaration order, which is also the order they are
// written in relative to each other.
constexpr ChoiceField kHead[] = {
    {kEndian, &CAssemblerModel::m_nEndian},
    {kRound, &CAssemblerModel::m_nRound},
    {kDenormal, &CAssemblerModel::m_nDenormal},
};
constexpr ChoiceField kMiddle[] = {
    {kInCode, &CAssemblerModel::m_nInCode},
    {kDebugLevel, &CAssemblerModel::m_nDebugLevel},
    {kGenObj, &CAssemblerModel::m_nGenObj},
    {kFoldSec, &CAssemblerModel::m_nFoldSec},
};
constexpr ChoiceField kAfterObject[] = {
    {kOutCode, &CAssemblerModel::m_nOutCode},
    {kDispSize, &CAssemblerModel::m_nDispSize},
    {kListing, &CAssemblerModel::m_nListing},
};
constexpr ChoiceField kTail[] = {
    {kSource, &CAssemblerModel::m_nSource},
    {kErrorPath, &CAssemblerModel::m_nErrorPath},
    {kChgIncPath, &CAssemblerModel::m_nChgIncPath},
    {kProjectType, &CAssemblerModel::m_nProjectType},
    {kShowTab, &CAssemblerModel::m_nShowTab},
    {kCrossRef, &CAssemblerModel::m_nCrossRef},
    {kListSection, &CAssemblerModel::m_nListSection},
};
constexpr KeyList kShowTables[] = {kShowCond, kShowDef, kShowCall, kShowExp, kShowCode};

const PathParts kDefaultListPath{"$(CONFIGDIR)", "$(FILELEAF)", "", '\\'};

constexpr int kKeyFamilies[] = {tc::kCodeCorvo, tc::kCodePelka, tc::kCodeZenta};

bool ReadChoices(CAssemblerModel& m, std::span<const ChoiceField> fields, std::string_view body) {
    for (const ChoiceField& f : fields)
        if (ReadChoice(f.keys, body, m.*f.field)) return true;
    return false;
}

void WriteChoices(std::string& out, const CAssemblerModel& m, std::span<const ChoiceField> fields) {
    for (const ChoiceField& f : fields) WriteChoice(out, f.keys, m.*f.field);
}

std::string WithDefaultExtension(const PathParts& path, std::string_view ext) {
    PathParts full = path;
    if (full.ext.empty()) full.ext = ext;
    if (full.sep == 0 && !full.dir.empty()) full.sep = '\\';
    return full.Join();
}

} // namespace

CAssemblerModel::CAssemblerModel() : CModelBase(kPhaseAssembler) {}

CAssemblerModel::CAssemblerModel(std::string_view optionString) : CModelBase(kPhaseAssembler) {
    Read(optionString);
}

void CAssemblerModel::ResetFields() {
    *this = CAssemblerModel(NoReset{});
}

std::string CAssemblerModel::ObjectFile() const {
    return WithDefaultExtension(m_objPath, ".o");
}

std::string CAssemblerModel::ListFile() const {
    return WithDefaultExtension(m_listPath, ".lis");
}

bool CAssemblerModel::ReadToken(std::string_view body) {
    if (auto v = ValueAfter(body, kCpuType)) {
        if (auto match = tc::FindCpuType(*v)) {
            m_nFamilyCode = match->familyCode;
            m_nCpuType = match->row;
        }
        return true;
    }
    if (ReadChoices(*this, kHead, body) || ReadChoices(*this, kMiddle, body) ||
        ReadChoices(*this, kAfterObject, body) || ReadChoices(*this, kTail, body))
        return true;
    for (int family : kKeyFamilies) {
        if (ReadFlags(FamilyFlagKeys(family), body, m_aTargetFlags)) {
            m_nFlagKeyFamily = family;
            return true;
        }
    }
    for (size_t i = 0; i < std::size(kShowTables); ++i)
        if (ReadChoice(kShowTables[i], body, m_aShow[i])) return true;
    if (ReadFlags(kListContentKeys, body, m_aListContents) ||
        ReadFlags(kSwitchKeys, body, m_aSwitches) || ReadChoice(kMaxVarsFlag, body, m_nMaxVarsFlag))
        return true;
    if (auto v = ValueAfter(body, kCpuSelect)) {
        m_aTargetFlags[tc::kZentaCpuSelectPos] = *v != "Other";
        m_nFlagKeyFamily = tc::kCodeZenta;
    } else if (auto v = ValueAfter(body, kIntRegVal)) {
        m_nIntRegVal = ReadNumber(*v);
    } else if (auto v = ValueAfter(body, kMaxConstVal)) {
        m_nMaxConstVal = ReadNumber(*v);
    } else if (auto v = ValueAfter(body, kMaxVarsVal)) {
        m_nMaxVarsVal = ReadNumber(*v);
    } else if (auto v = ValueAfter(body, kIncDir)) {
        AppendListValue(m_lstIncDirs, *v, true);
    } else if (auto v = ValueAfter(body, kDefines)) {
        AppendListValue(m_lstDefines, EnclosedValue(*v), false);
    } else if (auto v = ValueAfter(body, kAssignA)) {
        AppendListValue(m_lstAssigns, EnclosedValue(*v), false);
    } else if (auto v = ValueAfter(body, kAssignC)) {
        AppendListValue(m_lstAssigns, EnclosedValue(*v), false);
    } else if (auto v = ValueAfter(body, kObjPath)) {
        m_objPath = PathParts::Split(QuotedText(*v));
    } else if (auto v = ValueAfter(body, kLFile)) {
        m_listPath = PathParts::Split(QuotedText(*v));
    } else if (auto v = ValueAfter(body, kAppTxt)) {
        m_strExtra = QuotedText(*v);
    } else {
        return false;
    }
    return true;
}

void CAssemblerModel::WriteTokens(std::string& out) const {
    if (const tc::CpuRow* row = tc::CpuRowAt(m_nFamilyCode, m_nCpuType)) {
        std::string body(kCpuType);
        body += row->value;
        AppendBody(out, body);
    }
    WriteChoices(out, *this, kHead);

    int keyFamily = FamilyFlagKeys(m_nFamilyCode).empty() ? m_nFlagKeyFamily : m_nFamilyCode;
    if (keyFamily == tc::kCodeZenta && m_aTargetFlags[tc::kZentaCpuSelectPos]) {
        std::string select(kCpuSelect);
        select += tc::kZentaExtraCpu;
        AppendBody(out, select);
    }
    WriteFlags(out, FamilyFlagKeys(keyFamily), m_aTargetFlags);
    WriteChoice(out, kMaxVarsFlag, m_nMaxVarsFlag);
    if (m_nIntRegVal != 0) AppendNumber(out, kIntRegVal, m_nIntRegVal);
    if (m_nMaxConstVal != 0) AppendNumber(out, kMaxConstVal, m_nMaxConstVal);
    if (m_nMaxVarsVal != 0) AppendNumber(out, kMaxVarsVal, m_nMaxVarsVal);

    AppendQuotedList(out, kIncDir, m_lstIncDirs);
    std::vector<std::string> defines;
    for (const std::string& d : m_lstDefines)
        if (!d.empty()) defines.push_back(d);
    if (!defines.empty()) AppendJoinedValue(out, kDefines, Join(defines, "|"));
    // Entries with a double quote go under ASSIGNC, written first.
    std::vector<std::string> withQuote;
    std::vector<std::string> plain;
    for (const std::string& a : m_lstAssigns) {
        if (a.empty()) continue;
        (a.find('"') != std::string::npos ? withQuote : plain).push_back(a);
    }
    if (!withQuote.empty()) AppendJoinedValue(out, kAssignC, Join(withQuote, "|"));
    if (!plain.empty()) AppendJoinedValue(out, kAssignA, Join(plain, "|"));

    WriteChoices(out, *this, kMiddle);
    AppendQuoted(out, kObjPath, m_objPath.Join());
    WriteChoices(out, *this, kAfterObject);
    WriteFlags(out, kListContentKeys, m_aListContents);
    if (m_nListing == 1 || !(m_listPath == kDefaultListPath))
        AppendQuoted(out, kLFile, m_listPath.Join());
    WriteFlags(out, kSwitchKeys, m_aSwitches);
    if (!m_strExtra.empty()) AppendQuoted(out, kAppTxt, m_strExtra);
    WriteChoices(out, *this, kTail);
    for (size_t i = 0; i < std::size(kShowTables); ++i)
        WriteChoice(out, kShowTables[i], m_aShow[i]);
}

} // namespace quorle::models
