#include "tools/standin/target_flags.h"

#include <algorithm>
#include <string_view>

#include "toolchain/cpu_table.h"

namespace quorle::standin {

namespace {

enum class Match { Exact, Prefix };

struct DropRule {
    ToolKind kind;
    Match match;
    std::string_view text;
    int valueArgs; // arguments after the flag that belong to it
};

// Every family flag the plug-in writes that is not in the CPU tables: the
// byte-order, register and size flags, the assembler's and the linker's
// target options, the object copier's input format, and the native
// host-compiler flags that the families' gcc accepts. The CPU types' flags
// and the family extra options come from the CPU tables themselves.
constexpr DropRule kRules[] = {
    // Compiler driver (also when it drives the link).
    {ToolKind::Compiler, Match::Exact, "-mb", 0},
    {ToolKind::Compiler, Match::Exact, "-ml", 0},
    {ToolKind::Compiler, Match::Exact, "-mbig-endian-data", 0},
    {ToolKind::Compiler, Match::Exact, "-mlittle-endian-data", 0},
    {ToolKind::Compiler, Match::Prefix, "-mcpu=", 0},
    {ToolKind::Compiler, Match::Prefix, "-mint-register=", 0},
    {ToolKind::Compiler, Match::Prefix, "-mmax-constant-size=", 0},
    {ToolKind::Compiler, Match::Prefix, "-msmall-data-limit=", 0},
    {ToolKind::Compiler, Match::Exact, "-Wa,--muse-conventional-section-names", 0},
    {ToolKind::Compiler, Match::Exact, "-Wno-analyze", 0},
    {ToolKind::Compiler, Match::Prefix, "-preinclude=", 0},
    {ToolKind::Compiler, Match::Prefix, "-file_inline_path=", 0},
    {ToolKind::Compiler, Match::Prefix, "-template=", 0},
    {ToolKind::Compiler, Match::Prefix, "-section=", 0},
    {ToolKind::Compiler, Match::Exact, "-string=data", 0},
    {ToolKind::Compiler, Match::Prefix, "-abs16=", 0},
    {ToolKind::Compiler, Match::Prefix, "-abs20=", 0},
    {ToolKind::Compiler, Match::Prefix, "-abs28=", 0},
    {ToolKind::Compiler, Match::Exact, "-ifunc", 0},
    {ToolKind::Compiler, Match::Prefix, "-align4=", 0},
    {ToolKind::Compiler, Match::Exact, "-align16", 0},
    {ToolKind::Compiler, Match::Exact, "-align32", 0},
    {ToolKind::Compiler, Match::Prefix, "-stuff", 0},
    {ToolKind::Compiler, Match::Exact, "-relax", 0},
    {ToolKind::Compiler, Match::Exact, "-EL", 0},
    {ToolKind::Compiler, Match::Exact, "-mcorvolelf", 0},
    {ToolKind::Compiler, Match::Exact, "-Wl,-EB", 0},
    {ToolKind::Compiler, Match::Prefix, "-Wl,--oformat=elf32-zenta", 0},
    // Assembler.
    {ToolKind::Assembler, Match::Exact, "-little", 0},
    {ToolKind::Assembler, Match::Exact, "-morvath", 0},
    {ToolKind::Assembler, Match::Exact, "--mbig-endian-data", 0},
    {ToolKind::Assembler, Match::Exact, "--mlittle-endian-data", 0},
    {ToolKind::Assembler, Match::Exact, "--mpid", 0},
    {ToolKind::Assembler, Match::Exact, "--m32bit-doubles", 0},
    {ToolKind::Assembler, Match::Exact, "--m64bit-doubles", 0},
    {ToolKind::Assembler, Match::Exact, "-relax", 0},
    {ToolKind::Assembler, Match::Exact, "--muse-conventional-section-names", 0},
    {ToolKind::Assembler, Match::Exact, "--msmall-data-limit", 0},
    {ToolKind::Assembler, Match::Exact, "-dsp", 0},
    // Linker.
    {ToolKind::Linker, Match::Exact, "-EL", 0},
    {ToolKind::Linker, Match::Exact, "-EB", 0},
    {ToolKind::Linker, Match::Exact, "-mcorvolelf", 0},
    {ToolKind::Linker, Match::Exact, "-morvath", 0},
    {ToolKind::Linker, Match::Exact, "-relax", 0},
    {ToolKind::Linker, Match::Prefix, "--oformat=elf32-zenta", 0},
    // Object copier.
    {ToolKind::ObjectCopier, Match::Exact, "-I", 1},
};

bool Matches(const DropRule& rule, std::string_view arg) {
    if (rule.match == Match::Exact) return arg == rule.text;
    return arg.substr(0, rule.text.size()) == rule.text;
}

// The CPU types' compiler flags and the families' extra options.
bool IsTableFlag(std::string_view arg) {
    for (const toolchain::CpuTable& table : toolchain::CpuTables()) {
        for (const toolchain::CpuRow& row : table.rows) {
            std::string_view flags = row.targetFlag;
            while (!flags.empty()) {
                size_t blank = flags.find(' ');
                if (flags.substr(0, blank) == arg) return true;
                if (blank == std::string_view::npos) break;
                flags.remove_prefix(blank + 1);
            }
        }
        for (const toolchain::FamilyOption& option : toolchain::FamilyOptions(table.familyCode))
            if (option.flag == arg) return true;
    }
    return arg == toolchain::kZentaExtraCpuFlag;
}

} // namespace

std::vector<std::string> DropTargetFlags(ToolKind kind, const std::vector<std::string>& args) {
    std::vector<std::string> kept;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (kind == ToolKind::Compiler && IsTableFlag(arg)) continue;
        const DropRule* rule = nullptr;
        for (const DropRule& r : kRules)
            if (r.kind == kind && Matches(r, arg)) rule = &r;
        if (rule == nullptr) {
            kept.push_back(arg);
            continue;
        }
        // The object copier's "-I" names an input format only with a family
        // target; any other "-I" value is the machine's own and is kept.
        if (kind == ToolKind::ObjectCopier) {
            if (i + 1 < args.size() && args[i + 1].find("zenta") == std::string::npos) {
                kept.push_back(arg);
                continue;
            }
        }
        i += static_cast<size_t>(rule->valueArgs);
    }
    return kept;
}

} // namespace quorle::standin
