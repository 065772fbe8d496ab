#include "cmdline/generator_command.h"

#include "cmdline/target_flags.h"
#include "core/path_text.h"
#include "platform/platform.h"

namespace quorle::cmdline {

using models::CGeneratorModel;
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

std::string CompilerOptions(const CGeneratorModel& m) {
    std::string target;
    for (std::string item : TargetFlags(m.m_cpu, TargetFlagUse::Generator)) {
        for (char& c : item)
            if (c == ' ') c = ',';
        AddGroup(target, item);
    }
    std::string line;
    AddGroup(line, target);
    if (m.m_nOptimize == 1 && m.m_nOptType >= 0 &&
        static_cast<size_t>(m.m_nOptType) < std::size(kOptTypeFlags))
        AddGroup(line, kOptTypeFlags[static_cast<size_t>(m.m_nOptType)]);
    std::string flags;
    for (size_t i = 0; i < m.m_aFlags.size(); ++i)
        if (m.m_aFlags[i]) AddGroup(flags, kFlagArgs[i]);
    AddGroup(line, flags);
    AddGroup(line, UserGroup(m.m_strUserCompiler));
    return line;
}

std::string AssemblerOptions(const CGeneratorModel& m, bool withTargetFlags) {
    std::string line;
    const models::CpuOptions& cpu = m.m_cpu;
    if (withTargetFlags && cpu.m_nFamilyCode == tc::kCodeZenta) {
        if (cpu.ByteOrderChosen())
            AddGroup(line, cpu.m_nEndian == tc::kLittleEndian ? "--mlittle-endian-data"
                                                              : "--mbig-endian-data");
        const auto& f = cpu.m_aFamilyFlags;
        if (f[2]) AddGroup(line, "--mpid");
        AddGroup(line, f[3] ? "--m64bit-doubles" : "--m32bit-doubles");
        if (f[5]) AddGroup(line, "-relax");
        if (f[7]) AddGroup(line, "--muse-conventional-section-names");
        if (cpu.m_bSmallDataEnabled) AddGroup(line, "--msmall-data-limit");
    }
    AddGroup(line, UserGroup(m.m_strUserAssembler));
    return line;
}

std::string HeaderFiles(const CGeneratorModel& m) {
    std::string names;
    size_t on = 0;
    for (size_t i = 0; i < m.m_aHeaders.size(); ++i) {
        if (!m.m_aHeaders[i]) continue;
        AddGroup(names, kHeaderNames[i]);
        ++on;
    }
    return on == m.m_aHeaders.size() ? std::string("all") : names;
}

std::string Build(const CGeneratorModel& m, bool makefile, const PathWriter& writePath) {
    if (m.m_nBuild != 1) return {};
    std::string text = "--compiler-options=" + CompilerOptions(m) + "\n";
    std::string assembler = AssemblerOptions(m, !makefile);
    if (!assembler.empty()) text += "--assembler-options=" + assembler + "\n";
    text += "--output=" + writePath(m.m_strOutput) + "\n";
    text += std::string("--select-lib=") + (m.m_nOptLib == 1 ? "optlib" : "newlib") + "\n";
    text += "--header-files=" + HeaderFiles(m) + "\n";
    return text;
}

} // namespace

std::string BuildGeneratorSubcommand(const CGeneratorModel& model) {
    return Build(model, false, QuotePath);
}

std::string BuildGeneratorMakefileText(const CGeneratorModel& model,
                                       const PathWriter& rewriteMakefilePath) {
    return Build(model, true, rewriteMakefilePath);
}

std::string GeneratorSubcommandFileName(std::string_view outputPath) {
    std::string name(StemOf(outputPath));
    for (char& c : name)
        if (c == ' ') c = '~';
    return name + ".glg";
}

GeneratorPrePhase DecideGeneratorPrePhase(const CGeneratorModel& model,
                                          std::string_view configDir) {
    GeneratorPrePhase decision;
    if (model.m_nBuild != 1) return decision;
    decision.subcommandPath = std::string(configDir);
    if (!decision.subcommandPath.empty() && decision.subcommandPath.back() != '\\' &&
        decision.subcommandPath.back() != '/')
        decision.subcommandPath += '\\';
    decision.subcommandPath += GeneratorSubcommandFileName(model.m_strOutput);
    decision.text = BuildGeneratorSubcommand(model);
    decision.run = true;
    if (model.m_nMode == models::kGenModeWhenChanged &&
        platform::FileExists(decision.subcommandPath) && platform::FileExists(model.m_strOutput)) {
        std::optional<std::string> old = platform::ReadFile(decision.subcommandPath, true);
        if (old && *old == decision.text) decision.run = false;
    }
    return decision;
}

} // namespace quorle::cmdline
