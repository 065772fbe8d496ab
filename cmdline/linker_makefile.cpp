#include "cmdline/linker_makefile.h"

#include "cmdline/command_text.h"
#include "cmdline/link_lines.h"
#include "cmdline/linker_inputs.h"
#include "cmdline/linker_text.h"
#include "core/path_text.h"
#include "options/option_string.h"
#include "platform/platform.h"

namespace quorle::cmdline {

using models::LinkerModel;

namespace {

// Form lines by output form; the default and "both" forms have none.
constexpr std::string_view kFormLines[] = {
    "",
    "",
    "form relocate",
    "form library=s",
    "form library",
    "|form hexadecimal",
    "|form stype",
    "|form binary",
};
static_assert(std::size(kFormLines) == models::kFormBinary + 1);
static_assert(kFormLines[models::kFormRelocate] == "form relocate");
static_assert(kFormLines[models::kFormBinary] == "|form binary");

std::string Rewrite(const MakefilePathRewriter& rewrite, const std::string& path) {
    return rewrite ? rewrite(path) : path;
}

std::string WithExtensionX(std::string_view path) {
    return std::string(WithoutExtension(path)) + ".x";
}

// Without a prelink choice the prelinker runs only where some object or
// library carries template information.
bool SkipPrelink(const LinkerModel& model, const std::vector<std::string>& inputs) {
    if (model.prelink_ != kPrelinkAuto) return model.prelink_ == kPrelinkSkip;
    for (const std::string& entry : inputs) {
        std::string_view path, kind;
        if (!SplitInputEntry(entry, path, kind)) continue;
        int index = InputKindIndex(kind);
        if ((index == kObjectFile || index == kLibraryFile) && HasTemplateInformation(path))
            return false;
    }
    return true;
}

// Entry, symbols, prelink, form, output, map, symbol checks and switches.
void AddOptionLines(const LinkerModel& model, const std::vector<std::string>& inputs,
                    std::string& text) {
    bool symbols = FormAllowsSymbols(model);
    if (model.entryOn_ && symbols) AddLine(text, "entry " + model.entry_);
    for (const models::LinkerSymbol& symbol : model.symbols_)
        AddLine(text, "define " + symbol.name + "=" + symbol.value);
    if (SkipPrelink(model, inputs)) AddLine(text, "noprelink");
    int form = model.outputForm_;
    if (form >= 0 && form < static_cast<int>(std::size(kFormLines)))
        AddLine(text, kFormLines[form]);
    AddLine(text, "|output " + QuotePath(model.outputFile_));
    if (model.mapFile_) AddLine(text, "list " + QuotePath(model.MapFilePath()));
    if (symbols) AddLine(text, SymbolCheckLines(model));
    AddLine(text, "nologo");
    for (int i = 0; i < models::kLinkerSwitchCount; ++i)
        if (model.switches_[static_cast<size_t>(i)])
            AddLine(text, LinkerSwitchFlags()[static_cast<size_t>(i)]);
}

// A binary input is placed only with the section the model gives it.
void AddBinaryInput(const LinkerModel& model, std::string_view path, std::string& text) {
    if (!FormAllowsBinaries(model.outputForm_)) return;
    for (size_t i = 0; i < model.binaries_.size(); ++i) {
        if (model.binaries_[i] != path) continue;
        if (i < model.binarySections_.size() && !model.binarySections_[i].empty())
            AddLine(text, "-binary=" + QuotePath(path) + model.binarySections_[i]);
        return;
    }
}

// False on an input without "|" or of an unknown kind.
bool AddInputLines(const LinkerModel& model, const std::vector<std::string>& inputs,
                   const MakefilePathRewriter& rewritePath, std::string& text) {
    for (const std::string& entry : inputs) {
        std::string_view path, kindName;
        int kind = SplitInputEntry(entry, path, kindName) ? InputKindIndex(kindName) : -1;
        if (kind < 0) return false;
        if (kind == kBinaryFile)
            AddBinaryInput(model, path, text);
        else
            AddLine(text, std::string(kInputKindPrefixes[kind]) +
                              QuotePath(Rewrite(rewritePath, std::string(path))));
    }
    return true;
}

// With both outputs, the absolute file's link ends first and the lines for
// the second output (the "|" lines and the other-via words) follow its name.
std::string Assemble(const LinkerModel& model, const BarSplit& split,
                     const MakefilePathRewriter& rewritePath) {
    std::string assembled = split.plain;
    if (model.outputForm_ != models::kFormBoth) {
        AddLine(assembled, split.barred);
        AddLine(assembled, model.appText_);
        return assembled;
    }
    std::string absolute = model.divideOutput_ && !model.outputPieces_.empty()
                               ? model.outputPieces_.front()
                               : model.outputFile_;
    std::string absolutePath = QuotePath(Rewrite(rewritePath, WithExtensionX(absolute)));
    AddLine(assembled, "-o " + absolutePath);
    AddLine(assembled, model.appText_);
    AddLine(assembled, "end");
    AddLine(assembled, absolutePath);
    AddLine(assembled, split.barred);
    std::string words = model.otherVia_;
    for (std::string word = options::NextField(words, " \t\r\n"); !word.empty();
         word = options::NextField(words, " \t\r\n"))
        AddLine(assembled, word);
    return assembled;
}

} // namespace

bool HasTemplateInformation(std::string_view path) {
    std::string stem =
        std::string(DirectoryWithSeparator(path)) + "tpldir\\" + std::string(StemOf(path));
    return platform::FileExists(stem + ".ti") || platform::FileExists(stem + ".td");
}

bool BuildMakefileSubcommand(LinkerModel& model, std::vector<std::string> inputs, std::string& out,
                             std::string_view /*directory*/, bool skipReorder,
                             const MakefilePathRewriter& rewritePath) {
    out.clear();
    if (!skipReorder && !ReorderInputs(model, inputs)) return false;

    std::string text;
    bool subcommandMode = model.subcommand_ && !model.subcommandFile_.empty();
    if (!subcommandMode) AddOptionLines(model, inputs, text);
    if (!AddInputLines(model, inputs, rewritePath, text)) {
        out = text;
        return false;
    }
    out = FoldLongLines(Assemble(model, SplitBarLines(text), rewritePath));
    out += '\n';
    return true;
}

} // namespace quorle::cmdline
