#include "cmdline/linker_text.h"

#include "cmdline/command_text.h"
#include "cmdline/link_lines.h"
#include "cmdline/linker_inputs.h"
#include "core/path_text.h"
#include "options/option_string.h"
#include "platform/platform.h"
#include "toolchain/cpu_table.h"

namespace quorle::cmdline {

using models::CLinkerModel;

namespace {

// ld's spellings of the 21 switches, in the model's switch order.
constexpr std::string_view kSwitchFlags[models::kLinkerSwitchCount] = {
    "-Bstatic",
    "-Bdynamic",
    "-Bsymbolic",
    "-d",
    "-N",
    "-n",
    "-noinhibit-exec",
    "-no-keep-memory",
    "-stats",
    "-warn-common",
    "-warn-constructors",
    "-warn-once",
    "-X",
    "-x",
    "-r",
    "-Ur",
    "-S",
    "-s",
    "-split-by-file",
    "-traditional-format",
    "--gc-sections",
};

void AddFamilyFlags(const CLinkerModel& model, std::string& text) {
    const auto& flags = model.m_cpu.m_aFamilyFlags;
    switch (model.m_cpu.m_nFamilyCode) {
    case toolchain::kCodeCorvo:
        if (model.m_cpu.m_nEndian == toolchain::kLittleEndian) AddLine(text, "-EL -mcorvolelf");
        if (flags[3]) AddLine(text, "-morvath"); // MMORVATH
        if (flags[1]) AddLine(text, "-relax");   // MRELAX
        break;
    case toolchain::kCodePelka:
        if (flags[1]) AddLine(text, "-relax"); // HMRELAX
        break;
    case toolchain::kCodeZenta:
        if (model.m_cpu.m_nEndian == toolchain::kBigEndian)
            AddLine(text, LdOption(model, "-EB ") + LdOption(model, "--oformat=elf32-zenta-be "));
        if (flags[5]) AddLine(text, "-relax"); // RMRELAX
        break;
    default:
        break;
    }
}

// Lines beginning with "|" lose it and move after all others, in order.
std::string MoveBarLinesLast(std::string_view text) {
    BarSplit split = SplitBarLines(text);
    AddLine(split.plain, split.barred);
    return split.plain;
}

std::string LibraryName(std::string_view path) {
    if (path.substr(0, 3) == "lib") path.remove_prefix(3);
    if (path.size() >= 2 && path.substr(path.size() - 2) == ".a") path.remove_suffix(2);
    return std::string(path);
}

} // namespace

models::KeyList LinkerSwitchFlags() {
    return kSwitchFlags;
}

std::string LdOption(const CLinkerModel& model, std::string_view option) {
    std::string text = model.m_bUseGcc ? "-Wl," : "";
    text += option;
    return text;
}

std::string GccMarker(const CLinkerModel& model) {
    return model.m_bUseGcc ? std::string(kGccMarker) : std::string();
}

std::string LinkerOptionLines(const CLinkerModel& model, UserMessages& messages) {
    std::string text;
    if (model.m_bSubcommand && !model.m_strSubcommandFile.empty()) {
        if (model.m_nSubcommandType == kSubcommandResponseFile)
            AddLine(text, LdOption(model, "@") + QuotePath(model.m_strSubcommandFile));
        else if (model.m_nSubcommandType == kSubcommandLinkerScript)
            AddLine(text, "-T " + QuotePath(model.m_strSubcommandFile));
        else
            messages.push_back(ErrorText("Invalid sub-command file type"));
        return text;
    }
    bool symbols = FormAllowsSymbols(model);
    if (model.m_bEntry && symbols) AddLine(text, "-entry=" + model.m_strEntry);
    if (symbols) {
        for (const models::LinkerSymbol& symbol : model.m_listSymbols)
            AddLine(text, LdOption(model, "-defsym") + " " + LdOption(model, symbol.name) + "=" +
                              symbol.value);
    }
    for (const std::string& dir : model.m_listLibDirs) AddLine(text, "-L " + QuotePath(dir));

    if (model.m_nOutputForm == models::kFormBoth) AddLine(text, "|");
    if (model.m_bRelocSplit && !model.m_strRelocCount.empty() && model.m_strRelocCount != "0")
        AddLine(text, LdOption(model, "-split-by-reloc=") + model.m_strRelocCount);
    if (model.m_bLto) AddLine(text, "-flto");
    if (model.m_bUseGcc) AddLine(text, "-nostartfiles");
    AddLine(text, "|-o " + QuotePath(model.m_strOutputFile));
    if (model.m_bMapFile) {
        AddLine(text, model.m_bUseGcc ? "-Wl,-Map=" + QuotePath(model.MapFilePath())
                                      : "-Map " + QuotePath(model.MapFilePath()));
    }

    if (symbols) AddLine(text, SymbolCheckLines(model));

    for (int i = 0; i < models::kLinkerSwitchCount; ++i)
        if (model.m_aSwitches[static_cast<size_t>(i)])
            AddLine(text, LdOption(model, kSwitchFlags[i]));
    AddFamilyFlags(model, text);
    return text;
}

std::string SymbolCheckLines(const CLinkerModel& model) {
    std::string text;
    if (!model.m_listSectionStarts.empty()) {
        std::string line;
        for (char c : models::Join(model.m_listSectionStarts, ",")) {
            if (c == '(')
                line += '/';
            else if (c != ')')
                line += c;
        }
        for (char& c : line) {
            if (c == '{')
                c = '(';
            else if (c == '}')
                c = ')';
        }
        AddLine(text, "-start=" + line);
    }
    for (const std::string& symbol : model.m_listForcedSymbols) AddLine(text, "-fsymbol=" + symbol);
    if (model.m_nCpuCheckMode == kCpuCheckRanges) {
        std::string line = "-cpu=";
        for (size_t i = 0; i < model.m_listCheckAreas.size(); ++i) {
            const models::CpuCheckArea& area = model.m_listCheckAreas[i];
            if (i > 0) line += ',';
            line += area.kind + "=" + area.start + "-" + area.end;
        }
        AddLine(text, line);
    } else if (model.m_nCpuCheckMode == kCpuCheckInfoFile) {
        AddLine(text, "-cpu=" + model.m_strCpuInfoFile);
    }
    if (!model.m_strPsCheck.empty()) AddLine(text, "-ps_check=" + model.m_strPsCheck);
    return text;
}

std::string FoldLongLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        size_t stop = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(start, stop - start);
        if (line.size() >= kFoldLength) {
            for (char c : line) {
                out += c;
                if (c == ',' || c == ':') out += " &\n";
            }
        } else {
            out += line;
        }
        if (end == std::string_view::npos) break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

std::string LinkerInputFilePath(const CLinkerModel& model, std::string_view directory) {
    std::string base(StemOf(model.m_strOutputFile));
    for (char& c : base)
        if (c == ' ') c = '~';
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += base;
    path += "_input.tmp";
    return path;
}

LinkTextResult BuildLinkText(CLinkerModel& model, std::vector<std::string> inputs, std::string& out,
                             std::string_view directory, bool inputFile, bool skipReorder) {
    LinkTextResult result;
    out.clear();
    if (!skipReorder && !ReorderInputs(model, inputs)) return result;

    std::string text;
    platform::OutputFile listFile;
    bool useListFile = inputFile && !model.m_bObjsOnCmdLine;
    bool listOpen = false;
    if (useListFile) {
        std::string path = LinkerInputFilePath(model, directory);
        // One handle for the whole walk; the bytes match appending line by line.
        listOpen = listFile.Open(path, /*textMode=*/true, /*append=*/false);
        AddLine(text, "-T " + QuotePath(path) + " ");
    }
    AddLine(text, LinkerOptionLines(model, result.messages));

    std::string libraries;
    bool failed = false;
    for (size_t n = inputs.size(); n-- > 0;) {
        std::string_view path, kindName;
        int kind = SplitInputEntry(inputs[n], path, kindName) ? InputKindIndex(kindName) : -1;
        if (kind < 0) {
            failed = true;
            break;
        }
        if (kind == kLibraryFile) {
            if (!libraries.empty()) libraries += ' ';
            libraries += "-l " + QuotePath(LibraryName(path));
        } else if (!inputFile) {
            AddLine(text, std::string(kInputKindPrefixes[kind]) + QuotePath(path));
        } else if (model.m_bObjsOnCmdLine) {
            AddLine(text, QuotePath(path));
        } else if (!listOpen || !listFile.Write("INPUT(" + QuotePath(path) + ")\n")) {
            result.unwrittenInputs.emplace_back(path);
        }
    }
    if (listOpen && !listFile.Close() && result.unwrittenInputs.empty()) {
        // The last writes reached the disk only on closing and failed there.
        result.unwrittenInputs.emplace_back(LinkerInputFilePath(model, directory));
    }
    if (!result.unwrittenInputs.empty()) {
        std::string message = "ERROR: These inputs could not be written to the linker input file "
                              "and are missing from the link:";
        for (const std::string& path : result.unwrittenInputs) message += "\n" + path;
        result.messages.push_back(ErrorText(std::move(message)));
    }
    if (failed) {
        out = text;
        return result;
    }

    if (model.m_bGroupLibs)
        libraries = LdOption(model, "--start-group") + " " + libraries + " " +
                    LdOption(model, "--end-group");
    AddLine(text, libraries);
    text = MoveBarLinesLast(text);
    AddLine(text, model.m_strAppText);
    out = FoldLongLines(text);
    out += '\n';
    result.ok = true;
    return result;
}

} // namespace quorle::cmdline
