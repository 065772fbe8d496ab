#include "sheet/preview.h"

#include <unordered_set>

#include "cmdline/assembler_command.h"
#include "cmdline/compiler_command.h"
#include "cmdline/generator_command.h"
#include "cmdline/linker_text.h"
#include "core/phase.h"
#include "sheet/messages.h"

namespace quorle::sheet {

std::string PreviewCommandLine(const COptionSet& set, std::string_view fileType) {
    const models::ModelBase* model = set.model.get();
    if (auto* c = As<models::CompilerModel>(model)) {
        if (c->language_ == models::kLangC && !fileType.empty()) {
            models::CompilerModel copy = *c;
            copy.SetLanguage(models::CompilerModel::LanguageOf(fileType));
            return cmdline::BuildCompilerCommand(copy, "");
        }
        return cmdline::BuildCompilerCommand(*c, "");
    }
    if (auto* a = As<models::AssemblerModel>(model)) return cmdline::BuildAssemblerArguments(*a);
    if (auto* l = As<models::LinkerModel>(model)) {
        if (l->subcommand_) return SheetString(kStrAtSign) + l->subcommandFile_;
        models::LinkerModel copy = *l;
        std::string out;
        cmdline::BuildLinkText(copy, {}, out, "$(CONFIGDIR)", false, true);
        return out;
    }
    if (auto* g = As<models::GeneratorModel>(model)) return cmdline::BuildGeneratorSubcommand(*g);
    return {};
}

std::vector<std::string> CommandTokens(std::string_view commandLine) {
    std::vector<std::string> tokens;
    std::string current;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') quoted = !quoted;
        if (c == '\n' && !quoted) {
            if (!current.empty()) tokens.push_back(std::move(current));
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.empty()) tokens.push_back(std::move(current));
    return tokens;
}

std::string CommonTokens(const std::vector<std::vector<std::string>>& lists) {
    if (lists.empty()) return {};
    std::vector<std::unordered_set<std::string>> others;
    for (size_t i = 1; i < lists.size(); ++i) others.emplace_back(lists[i].begin(), lists[i].end());
    std::string out;
    for (const std::string& token : lists.front()) {
        bool everywhere = true;
        for (const auto& other : others) everywhere = everywhere && other.count(token) != 0;
        if (!everywhere) continue;
        if (!out.empty()) out += ' ';
        out += token;
    }
    return out;
}

std::string PreviewOf(const std::vector<CLeaf*>& selection, int phase) {
    std::vector<std::vector<std::string>> lists;
    std::unordered_set<const COptionSet*> seen;
    for (const CLeaf* leaf : selection) {
        if (leaf->phase != phase || !seen.insert(leaf->set).second) continue;
        lists.push_back(CommandTokens(PreviewCommandLine(*leaf->set, leaf->fileType)));
    }
    return CommonTokens(lists);
}

} // namespace quorle::sheet
