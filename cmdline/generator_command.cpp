#include "cmdline/generator_command.h"

#include "cmdline/target_flags.h"
#include "core/path_text.h"
#include "platform/platform.h"

namespace quorle::cmdline {

using models::GeneratorModel;
using namespace models::generator_keys;
namespace tc = quorle::toolchain;

namespace {

// Adds a comma-separated group; empty groups are left out.
void AddGroup(std::string& list, std::string_view group) {
    if (group.empty()) return;
    if (!list.empty()) list += ',';
    list += group;
}

// User options as a comma-separated group: the words of the text joined by
// commas, the first ",," reduced to ",".
std::string UserGroup(std::string_view text) {
    std::string joined;
    for (const std::string& word : SplitWords(text)) {
        if (!joined.empty()) joined += ',';
        joined += word;
    }
    size_t twice = joined.find(",,");
    if (twice != std::string::npos) joined.erase(twice, 1);
    return joined;
}

std::string CompilerOptions(const GeneratorModel& m) {
    std::string target;
    for (std::string item : TargetFlags(m.cpu_, TargetFlagUse::Generator)) {
        for (char& c : item)
            if (c == ' ') c = ',';
        AddGroup(target, item);
    }
    std::string line;
    AddGroup(line, target);
    if (m.optimize_ == 1 && m.optType_ >= 0 &&
        static_cast<size_t>(m.optType_) < std::size(kOptTypeFlags))
        AddGroup(line, kOptTypeFlags[static_cast<size_t>(m.optType_)]);
    std::string flags;
    for (size_t i = 0; i < m.flags_.size(); ++i)
        if (m.flags_[i]) AddGroup(flags, kFlagArgs[i]);
    AddGroup(line, flags);
    AddGroup(line, UserGroup(m.userCompiler_));
    return line;
}

std::string AssemblerOptions(const GeneratorModel& m, bool withTargetFlags) {
    std::string line;
    const models::CpuOptions& cpu = m.cpu_;
    if (withTargetFlags && cpu.familyCode_ == tc::kCodeZenta) {
        if (cpu.ByteOrderChosen())
            AddGroup(line, cpu.endian_ == tc::kLittleEndian ? "--mlittle-endian-data"
                                                            : "--mbig-endian-data");
        const auto& f = cpu.familyFlags_;
        if (f[2]) AddGroup(line, "--mpid");
        AddGroup(line, f[3] ? "--m64bit-doubles" : "--m32bit-doubles");
        if (f[5]) AddGroup(line, "-relax");
        if (f[7]) AddGroup(line, "--muse-conventional-section-names");
        if (cpu.smallDataEnabled_) AddGroup(line, "--msmall-data-limit");
    }
    AddGroup(line, UserGroup(m.userAssembler_));
    return line;
}

std::string HeaderFiles(const GeneratorModel& m) {
    std::string names;
    size_t on = 0;
    for (size_t i = 0; i < m.headers_.size(); ++i) {
        if (!m.headers_[i]) continue;
        AddGroup(names, kHeaderNames[i]);
        ++on;
    }
    return on == m.headers_.size() ? std::string("all") : names;
}

std::string Build(const GeneratorModel& m, bool makefile, const PathWriter& writePath) {
    if (m.build_ != 1) return {};
    std::string text = "--compiler-options=" + CompilerOptions(m) + "\n";
    std::string assembler = AssemblerOptions(m, !makefile);
    if (!assembler.empty()) text += "--assembler-options=" + assembler + "\n";
    text += "--output=" + writePath(m.output_) + "\n";
    text += std::string("--select-lib=") + (m.optLib_ == 1 ? "optlib" : "newlib") + "\n";
    text += "--header-files=" + HeaderFiles(m) + "\n";
    return text;
}

} // namespace

std::string BuildGeneratorSubcommand(const GeneratorModel& model) {
    return Build(model, false, QuotePath);
}

std::string BuildGeneratorMakefileText(const GeneratorModel& model,
                                       const PathWriter& rewriteMakefilePath) {
    return Build(model, true, rewriteMakefilePath);
}

std::string GeneratorSubcommandFileName(std::string_view outputPath) {
    std::string name(StemOf(outputPath));
    for (char& c : name)
        if (c == ' ') c = '~';
    return name + ".glg";
}

GeneratorPrePhase DecideGeneratorPrePhase(const GeneratorModel& model, std::string_view configDir) {
    GeneratorPrePhase decision;
    if (model.build_ != 1) return decision;
    decision.subcommandPath = std::string(configDir);
    if (!decision.subcommandPath.empty() && decision.subcommandPath.back() != '\\' &&
        decision.subcommandPath.back() != '/')
        decision.subcommandPath += '\\';
    decision.subcommandPath += GeneratorSubcommandFileName(model.output_);
    decision.text = BuildGeneratorSubcommand(model);
    decision.run = true;
    if (model.mode_ == models::kGenModeWhenChanged &&
        platform::FileExists(decision.subcommandPath) && platform::FileExists(model.output_)) {
        std::optional<std::string> old = platform::ReadFile(decision.subcommandPath, true);
        if (old && *old == decision.text) decision.run = false;
    }
    return decision;
}

} // namespace quorle::cmdline
