#include "cmdline/linker_text.h"

#include "cmdline/command_text.h"
#include "cmdline/link_lines.h"
#include "cmdline/linker_inputs.h"
#include "core/path_text.h"
#include "options/option_string.h"
#include "platform/platform.h"
#include "toolchain/cpu_table.h"

namespace quorle::cmdline {

using models::LinkerModel;

namespace {

void AddFamilyFlags(const LinkerModel& model, std::string& text) {
    const auto& flags = model.cpu_.familyFlags_;
    switch (model.cpu_.familyCode_) {
    case toolchain::kCodeCorvo:
        if (model.cpu_.endian_ == toolchain::kLittleEndian) AddLine(text, "-EL -mcorvolelf");
        if (flags[3]) AddLine(text, "-morvath"); // MMORVATH
        if (flags[1]) AddLine(text, "-relax");   // MRELAX
        break;
    case toolchain::kCodePelka:
        if (flags[1]) AddLine(text, "-relax"); // HMRELAX
        break;
    case toolchain::kCodeZenta:
        if (model.cpu_.endian_ == toolchain::kBigEndian)
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
    return models::kLinkerSwitchFlags;
}

std::string LdOption(const LinkerModel& model, std::string_view option) {
    std::string text = model.useGcc_ ? "-Wl," : "";
    text += option;
    return text;
}

std::string GccMarker(const LinkerModel& model) {
    return model.useGcc_ ? std::string(kGccMarker) : std::string();
}

OptionLineText LinkerOptionLines(const LinkerModel& model) {
    std::string text;
    if (model.subcommand_ && !model.subcommandFile_.empty()) {
        if (model.subcommandType_ == kSubcommandResponseFile)
            AddLine(text, LdOption(model, "@") + QuotePath(model.subcommandFile_));
        else if (model.subcommandType_ == kSubcommandLinkerScript)
            AddLine(text, "-T " + QuotePath(model.subcommandFile_));
        else
            return {text, {ErrorText("Invalid sub-command file type")}};
        return {text, {}};
    }
    bool symbols = FormAllowsSymbols(model);
    // gcc would read "-entry=X" as "-e ntry=X": through gcc it goes to ld.
    if (model.entryOn_ && symbols) AddLine(text, LdOption(model, "-entry=") + model.entry_);
    if (symbols) {
        for (const models::LinkerSymbol& symbol : model.symbols_)
            AddLine(text, LdOption(model, "-defsym") + " " + LdOption(model, symbol.name) + "=" +
                              symbol.value);
    }
    for (const std::string& dir : model.libDirs_) AddLine(text, "-L " + QuotePath(dir));

    if (model.outputForm_ == models::kFormBoth) AddLine(text, "|");
    if (model.relocSplit_ && !model.relocCount_.empty() && model.relocCount_ != "0")
        AddLine(text, LdOption(model, "-split-by-reloc=") + model.relocCount_);
    if (model.lto_) AddLine(text, "-flto");
    if (model.useGcc_) AddLine(text, "-nostartfiles");
    AddLine(text, "|-o " + QuotePath(model.outputFile_));
    if (model.mapFile_) {
        AddLine(text, model.useGcc_ ? "-Wl,-Map=" + QuotePath(model.MapFilePath())
                                    : "-Map " + QuotePath(model.MapFilePath()));
    }

    if (symbols) AddLine(text, SymbolCheckLines(model));

    for (int i = 0; i < models::kLinkerSwitchCount; ++i)
        if (model.switches_[static_cast<size_t>(i)])
            AddLine(text, LdOption(model, models::kLinkerSwitchFlags[static_cast<size_t>(i)]));
    AddFamilyFlags(model, text);
    return {text, {}};
}

std::string SymbolCheckLines(const LinkerModel& model) {
    std::string text;
    if (!model.sectionStarts_.empty()) {
        std::string line;
        for (char c : models::Join(model.sectionStarts_, ",")) {
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
    for (const std::string& symbol : model.forcedSymbols_) AddLine(text, "-fsymbol=" + symbol);
    if (model.cpuCheckMode_ == kCpuCheckRanges) {
        std::string line = "-cpu=";
        for (size_t i = 0; i < model.checkAreas_.size(); ++i) {
            const models::CpuCheckArea& area = model.checkAreas_[i];
            if (i > 0) line += ',';
            line += area.kind + "=" + area.start + "-" + area.end;
        }
        AddLine(text, line);
    } else if (model.cpuCheckMode_ == kCpuCheckInfoFile) {
        AddLine(text, "-cpu=" + model.cpuInfoFile_);
    }
    if (!model.psCheck_.empty()) AddLine(text, "-ps_check=" + model.psCheck_);
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

std::string LinkerInputFileLine(const LinkerModel& model, std::string_view path) {
    // The gcc driver hands every -T to ld after the libraries (and its own
    // -lgcc -lc), so ld would read the objects of the file after the
    // libraries they need. -Xlinker keeps the file in its place among the
    // arguments, and unlike -Wl it does not split a path at its commas.
    std::string option = model.useGcc_ ? std::string(kGccInputFileOption) : "-T ";
    return option + QuotePath(path) + " ";
}

std::string LinkerInputFilePath(const LinkerModel& model, std::string_view directory) {
    std::string base(StemOf(model.outputFile_));
    for (char& c : base)
        if (c == ' ') c = '~';
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += base;
    path += "_input.tmp";
    return path;
}

LinkTextResult BuildLinkText(LinkerModel& model, std::vector<std::string> inputs, std::string& out,
                             std::string_view directory, bool inputFile, bool skipReorder) {
    LinkTextResult result;
    out.clear();
    if (!skipReorder && !ReorderInputs(model, inputs)) return result;

    std::string text;
    platform::OutputFile listFile;
    bool useListFile = inputFile && !model.objsOnCmdLine_;
    bool listOpen = false;
    if (useListFile) {
        std::string path = LinkerInputFilePath(model, directory);
        // One handle for the whole walk; the bytes match appending line by line.
        listOpen = listFile.Open(path, /*textMode=*/true, /*append=*/false);
        AddLine(text, LinkerInputFileLine(model, path));
    }
    OptionLineText options = LinkerOptionLines(model);
    AddLine(text, options.text);
    result.messages.insert(result.messages.end(), options.messages.begin(), options.messages.end());

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
        } else if (model.objsOnCmdLine_) {
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

    if (model.groupLibs_)
        libraries = LdOption(model, "--start-group") + " " + libraries + " " +
                    LdOption(model, "--end-group");
    AddLine(text, libraries);
    text = MoveBarLinesLast(text);
    AddLine(text, model.appText_);
    out = FoldLongLines(text);
    out += '\n';
    result.ok = true;
    return result;
}

} // namespace quorle::cmdline
