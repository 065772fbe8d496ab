#include "models/cpu_options.h"

#include <array>

#include "models/key_registry.h"

namespace quorle::models {

namespace {

using toolchain::kCodeCorvo;
using toolchain::kCodePelka;
using toolchain::kCodeZenta;

constexpr std::string_view kEndianKeys[] = {"S|ENDIAN|BIG", "S|ENDIAN|LITTLE"};

constexpr std::string_view kCorvoKeys[] = {
    "B|MALIGN|1", "B|MRELAX|1", "B|MBIGTABLE|1",  "B|MMORVATH|1",
    "B|MIEEE|1",  "B|MISIZE|1", "B|MPADSTRUCT|1", "B|MSPACE|1",
};
constexpr std::string_view kPelkaKeys[] = {
    "B|HMALIGNBASE|1", "B|HMRELAX|1",     "B|HMNORMAL|1",
    "B|HMSLOWBYTE|1",  "B|HMQUICKCALL|1", "B|HMINT32|1",
};
// Position 1 is the CPU selection token, not a switch.
constexpr std::string_view kZentaKeys[] = {
    "",           "B|RNOFPU|1",  "B|RMPID|1",     "B|RMDOUBLE64|1",
    "B|RMQASM|1", "B|RMRELAX|1", "B|RMSAVEACC|1", "B|RMUSECONV|1",
};

constexpr std::string_view kCpuTypePrefix = "S|CPUTYPE|";
constexpr std::string_view kCpuSelectPrefix = "S|CPU|";
constexpr std::string_view kCpuSelectNone = "Other";
constexpr std::string_view kIntRegPrefix = "I|RMINTREGVAL|";
constexpr std::string_view kMaxConstPrefix = "I|RMMAXCONSTVAL|";
constexpr std::string_view kSmallDataSwitch = "B|RMMAXVARSVAL|1";
constexpr std::string_view kSmallDataPrefix = "I|RMMAXVARSVAL|";

constexpr std::string_view kValuePrefixes[] = {kCpuTypePrefix, kCpuSelectPrefix, kIntRegPrefix,
                                               kMaxConstPrefix, kSmallDataPrefix};

constexpr int kFlagFamilies[] = {kCodeCorvo, kCodePelka, kCodeZenta};

} // namespace

KeyList FamilyFlagKeys(int familyCode) {
    switch (familyCode) {
    case kCodeCorvo:
        return kCorvoKeys;
    case kCodePelka:
        return kPelkaKeys;
    case kCodeZenta:
        return kZentaKeys;
    default:
        return {};
    }
}

KeyList CpuEndianKeys() {
    return kEndianKeys;
}

bool CpuOptions::SetCpuType(std::string_view value) {
    auto match = toolchain::FindCpuType(value);
    if (!match) return false;
    familyCode_ = match->familyCode;
    cpuType_ = match->row;
    return true;
}

std::span<const std::string_view> CpuValuePrefixes() {
    return kValuePrefixes;
}

std::string_view CpuSmallDataSwitch() {
    return kSmallDataSwitch;
}

void AddCpuKeys(KeyRegistry& registry) {
    registry.Add(kValuePrefixes);
    registry.Add(kEndianKeys);
    for (int family : kFlagFamilies) registry.Add(FamilyFlagKeys(family));
    registry.Add(kSmallDataSwitch);
}

bool CpuOptions::ReadValue(std::string_view prefix, std::string_view value) {
    if (prefix == kCpuTypePrefix) {
        // A value no table holds leaves the CPU type and family unchanged.
        SetCpuType(value);
    } else if (prefix == kCpuSelectPrefix) {
        if (value == kCpuSelectNone) {
            familyFlags_[toolchain::kZentaCpuSelectPos] = false;
        } else if (value == toolchain::kZentaExtraCpu) {
            familyFlags_[toolchain::kZentaCpuSelectPos] = true;
        } else {
            return false;
        }
        familyCode_ = kCodeZenta;
    } else if (prefix == kIntRegPrefix) {
        intRegisters_ = ReadNumber(value);
    } else if (prefix == kMaxConstPrefix) {
        maxConstSize_ = ReadNumber(value);
    } else if (prefix == kSmallDataPrefix) {
        smallDataLimit_ = ReadNumber(value);
    } else {
        return false;
    }
    return true;
}

bool CpuOptions::Read(std::string_view body) {
    for (std::string_view prefix : kValuePrefixes)
        if (auto value = ValueAfter(body, prefix)) return ReadValue(prefix, *value);
    if (ReadChoice(kEndianKeys, body, endian_)) return true;
    for (int family : kFlagFamilies) {
        if (ReadFlags(FamilyFlagKeys(family), body, familyFlags_)) {
            familyCode_ = family;
            return true;
        }
    }
    if (body == kSmallDataSwitch) {
        smallDataEnabled_ = true;
        return true;
    }
    return false;
}

void CpuOptions::WriteCpuTypeAndEndian(std::string& out) const {
    if (const toolchain::CpuRow* row = Row()) {
        std::string body(kCpuTypePrefix);
        body += row->value;
        AppendBody(out, body);
    }
    WriteChoice(out, kEndianKeys, endian_);
}

void CpuOptions::WriteFamilyKeys(std::string& out) const {
    if (familyCode_ == kCodeZenta) {
        std::string select(kCpuSelectPrefix);
        select += familyFlags_[toolchain::kZentaCpuSelectPos] ? toolchain::kZentaExtraCpu
                                                              : kCpuSelectNone;
        AppendBody(out, select);
    }
    WriteFlags(out, FamilyFlagKeys(familyCode_), familyFlags_);
    if (familyCode_ == kCodeZenta) {
        AppendNumber(out, kIntRegPrefix, intRegisters_);
        AppendNumber(out, kMaxConstPrefix, maxConstSize_);
        if (smallDataEnabled_) AppendBody(out, kSmallDataSwitch);
        AppendNumber(out, kSmallDataPrefix, smallDataLimit_);
    }
}

} // namespace quorle::models
