#include "cmdline/target_flags.h"

namespace quorle::cmdline {

namespace tc = quorle::toolchain;

std::vector<std::string> TargetFlags(const models::CpuOptions& cpu, TargetFlagUse use) {
    std::vector<std::string> items;
    auto add = [&items](std::string_view item) {
        if (!item.empty()) items.emplace_back(item);
    };
    const int family = cpu.familyCode_;
    const tc::CpuRow* row = cpu.Row();
    std::span<const tc::FamilyOption> options = tc::FamilyOptions(family);
    const bool little = cpu.endian_ == tc::kLittleEndian;

    switch (family) {
    case tc::kCodeCorvo:
    case tc::kCodePelka:
        if (row != nullptr) add(row->targetFlag);
        if (family == tc::kCodeCorvo && cpu.ByteOrderChosen()) add(little ? "-ml" : "-mb");
        for (size_t i = 0; i < options.size(); ++i)
            if (cpu.familyFlags_[i]) add(options[i].flag);
        break;
    case tc::kCodeTamsin16:
    case tc::kCodeTamsin32:
        if (row != nullptr) add(row->targetFlag);
        break;
    case tc::kCodeZenta: {
        // The check item for the additional CPU model replaces the row's flag.
        if (cpu.familyFlags_[tc::kZentaCpuSelectPos]) {
            add(tc::kZentaExtraCpuFlag);
        } else if (row != nullptr) {
            add(row->targetFlag);
        }
        add(little ? "-mlittle-endian-data" : "-mbig-endian-data");
        size_t last = use == TargetFlagUse::Generator ? options.size() - 1 : options.size();
        for (size_t i = tc::kZentaCpuSelectPos + 1; i < last; ++i)
            if (cpu.familyFlags_[i]) add(options[i].flag);
        if (cpu.intRegisters_ != tc::kInterruptRegisterDefault)
            add("-mint-register=" + std::to_string(cpu.intRegisters_));
        if (cpu.maxConstSize_ != 0) add("-mmax-constant-size=" + std::to_string(cpu.maxConstSize_));
        if (cpu.smallDataEnabled_) add("-msmall-data-limit=" + std::to_string(cpu.smallDataLimit_));
        break;
    }
    default:
        break;
    }
    return items;
}

} // namespace quorle::cmdline
