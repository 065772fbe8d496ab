#include "cmdline/compiler_command.h"

#include "cmdline/target_flags.h"
#include "core/ascii_text.h"
#include "models/compiler_keys.h"

namespace quorle::cmdline {

using models::CompilerModel;
using namespace models::compiler_keys;

namespace {

constexpr std::string_view kLanguageLines[] = {"-c -x c", "-c -x c++", "-c -x assembler-with-cpp"};
constexpr std::string_view kOutputPrefixes[] = {"-o ", "-S -o ", "-E -o ", "-P -E -o "};

template <class Table> std::string_view At(const Table& table, int index) {
    if (index < 0 || static_cast<size_t>(index) >= std::size(table)) return {};
    return table[static_cast<size_t>(index)];
}

void Language(CommandText& text, const CompilerModel& m) {
    text.Line(At(kLanguageLines, m.language_));
}

void Target(CommandText& text, const CompilerModel& m) {
    for (const std::string& item : TargetFlags(m.cpu_)) text.Line(item);
}

std::string CommaJoinedPaths(const std::vector<std::string>& paths, const PathWriter& writePath) {
    std::string joined;
    for (const std::string& p : paths) {
        if (!joined.empty()) joined += ',';
        joined += writePath(p);
    }
    return joined;
}

void Source(CommandText& text, const CompilerModel& m, const PathWriter& writePath) {
    for (const std::string& dir : m.incDirs_) text.Line("-I " + writePath(dir));
    if (!m.preIncludes_.empty())
        text.Line("-preinclude=" + CommaJoinedPaths(m.preIncludes_, writePath));
    for (const std::string& def : m.defines_) text.Line("-D " + OneArgument(def));
    if (m.wInhibit_ == 1) {
        text.Line("-w -Wno-analyze");
    } else {
        if (m.AllGroup1Warnings()) {
            text.Line("-Wall");
        } else {
            for (size_t i = 0; i < m.warn1_.size(); ++i)
                if (m.warn1_[i]) text.Line(kWarn1Flags[i]);
        }
        for (size_t i = 0; i < m.warn2_.size(); ++i)
            if (m.warn2_[i]) text.Line(kWarn2Flags[i]);
    }
    if (!m.fileInlinePaths_.empty())
        text.Line("-file_inline_path=" + CommaJoinedPaths(m.fileInlinePaths_, writePath));
}

void Listing(CommandText& text, const CompilerModel& m, const PathWriter& writePath) {
    if (m.listing_ != 1) return;
    std::string line = "-Wa,-a";
    for (size_t i = 0; i < m.listContents_.size(); ++i)
        if (m.listContents_[i]) line += kListContentLetters[i];
    line += '=';
    line += writePath(m.listPath_.Join());
    text.Line(line);
}

void Optimisation(CommandText& text, const CompilerModel& m) {
    if (m.output_ == models::kOutPreprocessor) return;
    if (m.optimize_ == 1) text.Line(At(kOptLevelFlags, m.optLevel_));
    if (m.lto_ == 1) text.Line("-flto");
}

void OtherFlags(CommandText& text, const CompilerModel& m) {
    for (size_t i = 0; i < m.other_.size(); ++i)
        if (m.other_[i]) text.Line(kOtherFlags[i]);
}

void UserOptions(CommandText& text, const CompilerModel& m) {
    for (const std::string& word : SplitWords(m.userOptions_)) text.Line(word);
}

std::string KindList(const CompilerModel& m, int cls) {
    std::string kinds;
    int count = 0;
    for (int kind = 0; kind < models::kSectionKindCount; ++kind) {
        if (m.EffectiveAbsClass(kind) != cls) continue;
        if (!kinds.empty()) kinds += ',';
        kinds += kSectionKindsLower[static_cast<size_t>(kind)];
        ++count;
    }
    return count == models::kSectionKindCount ? std::string("all") : kinds;
}

void HostDebugOutput(CommandText& text, const CompilerModel& m, const PathWriter& writePath) {
    if (m.output_ == models::kOutObject && m.language_ == models::kLangCpp)
        text.Line(At(kTemplateFlags, m.template_));
    if (m.debug_ == 1) {
        text.Line(At(kDebugFormatFlags, m.debugFormat_));
        text.Line(At(kDebugLevelFlags, m.debugLevel_));
    }
    std::string sections;
    for (size_t i = 0; i < m.sectionNames_.size(); ++i) {
        if (m.sectionNames_[i] == kSectionDefaults[i]) continue;
        if (!sections.empty()) sections += ',';
        sections += kSectionFlagNames[i];
        sections += m.sectionNames_[i];
    }
    if (!sections.empty()) text.Line("-section=" + sections);
    if (m.stringData_ == 1) text.Line("-string=data");
    for (int cls = 0; cls < models::kAbsClass32; ++cls) {
        std::string kinds = KindList(m, cls);
        if (!kinds.empty()) text.Line(std::string(kAbsFlags[static_cast<size_t>(cls)]) + kinds);
    }
    const int row = m.cpu_.cpuType_;
    if (m.iFunc_ == 1 && (row == 2 || row == 3 || row == 9 || row == 13)) text.Line("-ifunc");
    if (m.align_ == 0) {
        text.Line(At(kAlign4Flags, m.align4Scope_));
    } else {
        text.Line(At(kAlignFlags, m.align_));
    }
    int stuffed = 0;
    std::string stuffNames;
    for (size_t i = 0; i < m.stuff_.size(); ++i) {
        if (!m.stuff_[i]) continue;
        ++stuffed;
        if (!stuffNames.empty()) stuffNames += ',';
        stuffNames += kStuffFlagNames[i];
    }
    if (stuffed == static_cast<int>(m.stuff_.size())) {
        text.Line("-stuff");
    } else if (stuffed > 0) {
        text.Line("-stuff=" + stuffNames);
    }
    std::string path = writePath(m.objPath_.Join());
    if (core::EqualsIgnoringCase(m.fileType_, "Preprocess Assembly file") &&
        core::EqualsIgnoringCase(m.objPath_.ext, ".s")) {
        text.Line("-S > " + path);
    } else {
        text.Line(std::string(At(kOutputPrefixes, m.output_)) + path);
    }
}

std::string Quote(std::string_view path) {
    return QuotePath(path);
}

} // namespace

std::string BuildCompilerCommand(const CompilerModel& model, std::string_view inputText) {
    const PathWriter quote = Quote;
    CommandText text;
    Language(text, model);
    Target(text, model);
    Source(text, model, quote);
    Listing(text, model, quote);
    Optimisation(text, model);
    OtherFlags(text, model);
    text.Lines(inputText);
    UserOptions(text, model);
    HostDebugOutput(text, model, quote);
    return std::move(text).Finish();
}

std::string BuildCompilerMakefileCommand(const CompilerModel& model, std::string_view inputText,
                                         const PathWriter& rewriteMakefilePath) {
    CommandText text;
    Target(text, model);
    Source(text, model, rewriteMakefilePath);
    HostDebugOutput(text, model, rewriteMakefilePath);
    Listing(text, model, rewriteMakefilePath);
    Optimisation(text, model);
    OtherFlags(text, model);
    text.Lines(inputText);
    UserOptions(text, model);
    return std::move(text).Finish();
}

} // namespace quorle::cmdline
