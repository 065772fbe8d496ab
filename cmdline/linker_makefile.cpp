#include "cmdline/linker_makefile.h"

#include "cmdline/linker_inputs.h"
#include "cmdline/linker_text.h"
#include "options/option_string.h"
#include "platform/platform.h"

namespace quorle::cmdline {

using models::CLinkerModel;

namespace {

// Form lines by output form index; 0 and 1 have none.
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

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

void AddLine(std::string& text, std::string_view line) {
    options::AppendToken(text, line, '\n');
}

bool FormAllowsSymbols(const CLinkerModel& model) {
    return model.m_nOutputForm == models::kFormDefault || model.m_nOutputForm == models::kFormBoth;
}

bool FormAllowsBinaries(int form) {
    return form == 0 || form == 1 || form == 5 || form == 6 || form == 7;
}

std::string Rewrite(const MakefilePathRewriter& rewrite, const std::string& path) {
    return rewrite ? rewrite(path) : path;
}

// The section start, forced-symbol and CPU check lines, as in the GNU
// option lines (the option lines hold nothing else of these kinds).
void AddStartAndCheckLines(const CLinkerModel& model, std::string& text) {
    if (!FormAllowsSymbols(model)) return;
    std::string gnu = LinkerOptionLines(model);
    size_t start = 0;
    while (start < gnu.size()) {
        size_t end = gnu.find('\n', start);
        if (end == std::string::npos) end = gnu.size();
        std::string_view line = std::string_view(gnu).substr(start, end - start);
        if (line.starts_with("-start=") || line.starts_with("-fsymbol=") ||
            line.starts_with("-cpu=") || line.starts_with("-ps_check="))
            AddLine(text, line);
        start = end + 1;
    }
}

std::string WithExtensionX(std::string_view path) {
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.rfind('.');
    std::string out(path);
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return out + ".x";
    out.resize(dot + 1);
    out += 'x';
    return out;
}

} // namespace

bool HasTemplateInformation(std::string_view path) {
    size_t slash = path.find_last_of("\\/");
    std::string dir =
        slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
    std::string_view leaf = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string base(leaf.substr(0, leaf.rfind('.')));
    std::string stem = dir + "tpldir\\" + base;
    return platform::FileExists(stem + ".ti") || platform::FileExists(stem + ".td");
}

bool BuildMakefileSubcommand(CLinkerModel& model, std::vector<std::string> inputs, std::string& out,
                             std::string_view /*directory*/, bool skipReorder,
                             const MakefilePathRewriter& rewritePath) {
    out.clear();
    if (!skipReorder && !ReorderInputs(model, inputs)) return false;

    std::string text;
    bool subcommandMode = model.m_bSubcommand && !model.m_strSubcommandFile.empty();
    if (!subcommandMode) {
        if (model.m_bEntry && FormAllowsSymbols(model)) AddLine(text, "entry " + model.m_strEntry);
        for (size_t i = 0; i < model.m_listSymbolNames.size(); ++i) {
            std::string value =
                i < model.m_listSymbolValues.size() ? model.m_listSymbolValues[i] : std::string();
            AddLine(text, "define " + model.m_listSymbolNames[i] + "=" + value);
        }
        bool prelink = model.m_nPrelink == 1;
        if (model.m_nPrelink == 0) {
            bool anyTemplate = false;
            for (const std::string& entry : inputs) {
                std::string_view path, kind;
                if (!SplitInputEntry(entry, path, kind)) continue;
                int index = InputKindIndex(kind);
                if ((index == kObjectFile || index == kLibraryFile) &&
                    HasTemplateInformation(path)) {
                    anyTemplate = true;
                    break;
                }
            }
            prelink = !anyTemplate;
        }
        if (prelink) AddLine(text, "noprelink");
        int form = model.m_nOutputForm;
        if (form >= 0 && form < static_cast<int>(std::size(kFormLines)))
            AddLine(text, kFormLines[form]);
        AddLine(text, "|output " + Quoted(model.m_strOutputFile));
        if (model.m_bMapFile) AddLine(text, "list " + Quoted(model.MapFilePath()));
        AddStartAndCheckLines(model, text);
        AddLine(text, "nologo");
        for (int i = 0; i < models::kLinkerSwitchCount; ++i)
            if (model.m_aSwitches[static_cast<size_t>(i)])
                AddLine(text, LinkerSwitchFlags()[static_cast<size_t>(i)]);
    }

    for (const std::string& entry : inputs) {
        std::string_view path, kindName;
        int kind = SplitInputEntry(entry, path, kindName) ? InputKindIndex(kindName) : -1;
        if (kind < 0) {
            out = text;
            return false;
        }
        if (kind != kBinaryFile) {
            AddLine(text, std::string(kInputKindPrefixes[kind]) +
                              Quoted(Rewrite(rewritePath, std::string(path))));
            continue;
        }
        if (!FormAllowsBinaries(model.m_nOutputForm)) continue;
        for (size_t i = 0; i < model.m_listBinaries.size(); ++i) {
            if (model.m_listBinaries[i] != path) continue;
            if (i < model.m_listBinarySections.size() && !model.m_listBinarySections[i].empty())
                AddLine(text, "-binary=" + Quoted(path) + model.m_listBinarySections[i]);
            break;
        }
    }

    std::string plain, barred;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line = std::string_view(text).substr(start, end - start);
        if (!line.empty() && line.front() == '|')
            AddLine(barred, line.substr(1));
        else
            AddLine(plain, line);
        start = end + 1;
    }

    std::string assembled = plain;
    if (model.m_nOutputForm == models::kFormBoth) {
        std::string absolute = model.m_bDivideOutput && !model.m_listOutputPieces.empty()
                                   ? model.m_listOutputPieces.front()
                                   : model.m_strOutputFile;
        std::string absolutePath = Quoted(Rewrite(rewritePath, WithExtensionX(absolute)));
        AddLine(assembled, "-o " + absolutePath);
        AddLine(assembled, model.m_strAppText);
        AddLine(assembled, "end");
        AddLine(assembled, absolutePath);
        AddLine(assembled, barred);
        std::string words = model.m_strOtherVia;
        for (std::string word = options::NextField(words, " \t\r\n"); !word.empty();
             word = options::NextField(words, " \t\r\n"))
            AddLine(assembled, word);
    } else {
        AddLine(assembled, barred);
        AddLine(assembled, model.m_strAppText);
    }
    out = FoldLongLines(assembled);
    out += '\n';
    return true;
}

} // namespace quorle::cmdline
