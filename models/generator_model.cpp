#include "models/generator_model.h"

#include "core/table_checks.h"

namespace quorle::models {

using namespace generator_keys;

static_assert(std::size(kFlagOptions) == kGenFlagCount);
static_assert(std::size(kHeaderOptions) == kGenHeaderCount);
constexpr auto kKeyOf = [](const FlagOption& row) { return row.key; };
constexpr auto kFlagOf = [](const FlagOption& row) { return row.flag; };
static_assert(AllDistinct(kFlagOptions, kKeyOf) && AllDistinct(kFlagOptions, kFlagOf));
static_assert(AllDistinct(kHeaderOptions, kKeyOf) && AllDistinct(kHeaderOptions, kFlagOf));

CGeneratorModel::CGeneratorModel() : CModelBase(kPhaseGenerator) {}

CGeneratorModel::CGeneratorModel(std::string_view optionString) : CModelBase(kPhaseGenerator) {
    Read(optionString);
}

void CGeneratorModel::ResetFields() {
    *this = CGeneratorModel(NoReset{});
}

void CGeneratorModel::BeforeRead(std::string_view optionString) {
    // Only the first build-mode token counts.
    bool found = false;
    ForEachTokenBody(optionString, [this, &found](std::string_view body) {
        if (found || !ValueAfter(body, kModePrefix)) return;
        found = true;
        ReadChoice(kMode, body, m_nMode);
    });
}

bool CGeneratorModel::ReadToken(std::string_view body) {
    if (ValueAfter(body, kModePrefix)) return true; // taken before the other tokens
    if (MatchKey(kIgnoredKeys, body) >= 0) return true;
    for (std::string_view prefix : kIgnoredPrefixes)
        if (ValueAfter(body, prefix)) return true;
    if (auto v = ValueAfter(body, kOutputPath)) {
        m_strOutput = QuotedText(*v);
        return true;
    }
    if (ReadChoice(kOptimize, body, m_nOptimize) || ReadChoice(kOptType, body, m_nOptType) ||
        m_cpu.Read(body) || ReadFlags(kFlagKeys, body, m_aFlags))
        return true;
    if (auto v = ValueAfter(body, kAppTxtCmp)) {
        m_strUserCompiler = QuotedText(*v);
        return true;
    }
    if (auto v = ValueAfter(body, kAppTxtAsm)) {
        m_strUserAssembler = QuotedText(*v);
        return true;
    }
    return ReadFlags(kHeaderKeys, body, m_aHeaders) || ReadChoice(kBuild, body, m_nBuild) ||
           ReadChoice(kOptLib, body, m_nOptLib) || ReadChoice(kNoPrebuilt, body, m_nNoPrebuilt);
}

void CGeneratorModel::WriteTokens(std::string& out) const {
    WriteChoice(out, kMode, m_nMode);
    WriteFlags(out, kHeaderKeys, m_aHeaders);
    WriteChoice(out, kBuild, m_nBuild);
    WriteChoice(out, kOptLib, m_nOptLib);
    WriteChoice(out, kNoPrebuilt, m_nNoPrebuilt);
    AppendQuoted(out, kOutputPath, m_strOutput);
    WriteChoice(out, kOptimize, m_nOptimize);
    WriteChoice(out, kOptType, m_nOptType);
    WriteFlags(out, kFlagKeys, m_aFlags);
    if (!m_strUserCompiler.empty()) AppendQuoted(out, kAppTxtCmp, m_strUserCompiler);
    if (!m_strUserAssembler.empty()) AppendQuoted(out, kAppTxtAsm, m_strUserAssembler);
    m_cpu.WriteCpuTypeAndEndian(out);
    m_cpu.WriteFamilyKeys(out);
}

} // namespace quorle::models
