#include "models/generator_model.h"

#include "core/table_checks.h"
#include "models/key_registry.h"

namespace quorle::models {

using namespace generator_keys;

constexpr auto kKeyOf = [](const FlagOption& row) { return row.key; };
constexpr auto kFlagOf = [](const FlagOption& row) { return row.flag; };
static_assert(AllDistinct(kFlagOptions, kKeyOf) && AllDistinct(kFlagOptions, kFlagOf));
static_assert(AllDistinct(kHeaderOptions, kKeyOf) && AllDistinct(kHeaderOptions, kFlagOf));

// Every table ReadToken (and BeforeRead, for the build mode) looks at.
const KeyRegistry& GeneratorModel::ReadKeys() {
    static const KeyRegistry registry = [] {
        KeyRegistry r{kMode,     kIgnoredKeys, kIgnoredPrefixes, kOptimize, kOptType,
                      kFlagKeys, kHeaderKeys,  kBuild,           kOptLib,   kNoPrebuilt};
        for (std::string_view key : {kModePrefix, kOutputPath, kAppTxtCmp, kAppTxtAsm}) r.Add(key);
        AddCpuKeys(r);
        return r;
    }();
    return registry;
}

GeneratorModel::GeneratorModel() : ModelBase(kPhaseGenerator) {}

GeneratorModel::GeneratorModel(std::string_view optionString) : ModelBase(kPhaseGenerator) {
    Read(optionString);
}

void GeneratorModel::ResetFields() {
    static_cast<GeneratorFields&>(*this) = GeneratorFields{};
}

void GeneratorModel::BeforeRead(std::string_view optionString) {
    // Only the first build-mode token counts.
    bool found = false;
    ForEachTokenBody(optionString, [this, &found](std::string_view body) {
        if (found || !ValueAfter(body, kModePrefix)) return;
        found = true;
        ReadChoice(kMode, body, mode_);
    });
}

bool GeneratorModel::ReadToken(std::string_view body) {
    if (!ReadKeys().Knows(body)) return false;
    if (ValueAfter(body, kModePrefix)) return true; // taken before the other tokens
    if (MatchKey(kIgnoredKeys, body) >= 0) return true;
    for (std::string_view prefix : kIgnoredPrefixes)
        if (ValueAfter(body, prefix)) return true;
    if (auto v = ValueAfter(body, kOutputPath)) {
        output_ = QuotedText(*v);
        return true;
    }
    if (ReadChoice(kOptimize, body, optimize_) || ReadChoice(kOptType, body, optType_) ||
        cpu_.Read(body) || ReadFlags(kFlagKeys, body, flags_))
        return true;
    if (auto v = ValueAfter(body, kAppTxtCmp)) {
        userCompiler_ = QuotedText(*v);
        return true;
    }
    if (auto v = ValueAfter(body, kAppTxtAsm)) {
        userAssembler_ = QuotedText(*v);
        return true;
    }
    return ReadFlags(kHeaderKeys, body, headers_) || ReadChoice(kBuild, body, build_) ||
           ReadChoice(kOptLib, body, optLib_) || ReadChoice(kNoPrebuilt, body, noPrebuilt_);
}

void GeneratorModel::WriteTokens(std::string& out) const {
    WriteChoice(out, kMode, mode_);
    WriteFlags(out, kHeaderKeys, headers_);
    WriteChoice(out, kBuild, build_);
    WriteChoice(out, kOptLib, optLib_);
    WriteChoice(out, kNoPrebuilt, noPrebuilt_);
    AppendQuoted(out, kOutputPath, output_);
    WriteChoice(out, kOptimize, optimize_);
    WriteChoice(out, kOptType, optType_);
    WriteFlags(out, kFlagKeys, flags_);
    if (!userCompiler_.empty()) AppendQuoted(out, kAppTxtCmp, userCompiler_);
    if (!userAssembler_.empty()) AppendQuoted(out, kAppTxtAsm, userAssembler_);
    cpu_.WriteCpuTypeAndEndian(out);
    cpu_.WriteFamilyKeys(out);
}

} // namespace quorle::models
