#include "cmdline/compiler_command.h"

#include "cmdline/target_flags.h"
#include "core/ascii_text.h"
#include "models/compiler_keys.h"

namespace quorle::cmdline {

using models::CCompilerModel;
using namespace models::compiler_keys;

namespace {

constexpr std::string_view kLanguageLines[] = {"-c -x c", "-c -x c++", "-c -x assembler-with-cpp"};
constexpr std::string_view kOutputPrefixes[] = {"-o ", "-S -o ", "-E -o ", "-P -E -o "};

template <class Table> std::string_view At(const Table& table, int index) {
    if (index < 0 || static_cast<size_t>(index) >= std::size(table)) return {};
    return table[static_cast<size_t>(index)];
}

void Language(CommandText& text, const CCompilerModel& m) {
    text.Line(At(kLanguageLines, m.m_nLanguage));
}

void Target(CommandText& text, const CCompilerModel& m) {
    for (const std::string& item : TargetFlags(m.m_cpu)) text.Line(item);
}

std::string CommaJoinedPaths(const std::vector<std::string>& paths, const PathWriter& writePath) {
    std::string joined;
    for (const std::string& p : paths) {
        if (!joined.empty()) joined += ',';
        joined += writePath(p);
    }
    return joined;
}

void Source(CommandText& text, const CCompilerModel& m, const PathWriter& writePath) {
    for (const std::string& dir : m.m_lstIncDirs) text.Line("-I " + writePath(dir));
    if (!m.m_lstPreIncludes.empty())
        text.Line("-preinclude=" + CommaJoinedPaths(m.m_lstPreIncludes, writePath));
    for (const std::string& def : m.m_lstDefines) text.Line("-D " + OneArgument(def));
    if (m.m_nWInhibit == 1) {
        text.Line("-w -Wno-analyze");
    } else {
        if (m.AllGroup1Warnings()) {
            text.Line("-Wall");
        } else {
            for (size_t i = 0; i < m.m_aWarn1.size(); ++i)
                if (m.m_aWarn1[i]) text.Line(kWarn1Flags[i]);
        }
        for (size_t i = 0; i < m.m_aWarn2.size(); ++i)
            if (m.m_aWarn2[i]) text.Line(kWarn2Flags[i]);
    }
    if (!m.m_lstFileInlinePaths.empty())
        text.Line("-file_inline_path=" + CommaJoinedPaths(m.m_lstFileInlinePaths, writePath));
}

void Listing(CommandText& text, const CCompilerModel& m, const PathWriter& writePath) {
    if (m.m_nListing != 1) return;
    std::string line = "-Wa,-a";
    for (size_t i = 0; i < m.m_aListContents.size(); ++i)
        if (m.m_aListContents[i]) line += kListContentLetters[i];
    line += '=';
    line += writePath(m.m_listPath.Join());
    text.Line(line);
}

void Optimisation(CommandText& text, const CCompilerModel& m) {
    if (m.m_nOutput == models::kOutPreprocessor) return;
    if (m.m_nOptimize == 1) text.Line(At(kOptLevelFlags, m.m_nOptLevel));
    if (m.m_nLto == 1) text.Line("-flto");
}

void OtherFlags(CommandText& text, const CCompilerModel& m) {
    for (size_t i = 0; i < m.m_aOther.size(); ++i)
        if (m.m_aOther[i]) text.Line(kOtherFlags[i]);
}

void UserOptions(CommandText& text, const CCompilerModel& m) {
    for (const std::string& word : SplitWords(m.m_strUserOptions)) text.Line(word);
}

std::string KindList(const CCompilerModel& m, int cls) {
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

void HostDebugOutput(CommandText& text, const CCompilerModel& m, const PathWriter& writePath) {
    if (m.m_nOutput == models::kOutObject && m.m_nLanguage == models::kLangCpp)
        text.Line(At(kTemplateFlags, m.m_nTemplate));
    if (m.m_nDebug == 1) {
        text.Line(At(kDebugFormatFlags, m.m_nDebugFormat));
        text.Line(At(kDebugLevelFlags, m.m_nDebugLevel));
    }
    std::string sections;
    for (size_t i = 0; i < m.m_aSectionNames.size(); ++i) {
        if (m.m_aSectionNames[i] == kSectionDefaults[i]) continue;
        if (!sections.empty()) sections += ',';
        sections += kSectionFlagNames[i];
        sections += m.m_aSectionNames[i];
    }
    if (!sections.empty()) text.Line("-section=" + sections);
    if (m.m_nStringData == 1) text.Line("-string=data");
    for (int cls = 0; cls < models::kAbsClass32; ++cls) {
        std::string kinds = KindList(m, cls);
        if (!kinds.empty()) text.Line(std::string(kAbsFlags[static_cast<size_t>(cls)]) + kinds);
    }
    const int row = m.m_cpu.m_nCpuType;
    if (m.m_nIFunc == 1 && (row == 2 || row == 3 || row == 9 || row == 13)) text.Line("-ifunc");
    if (m.m_nAlign == 0) {
        text.Line(At(kAlign4Flags, m.m_nAlign4Scope));
    } else {
        text.Line(At(kAlignFlags, m.m_nAlign));
    }
    int stuffed = 0;
    std::string stuffNames;
    for (size_t i = 0; i < m.m_aStuff.size(); ++i) {
        if (!m.m_aStuff[i]) continue;
        ++stuffed;
        if (!stuffNames.empty()) stuffNames += ',';
        stuffNames += kStuffFlagNames[i];
    }
    if (stuffed == static_cast<int>(m.m_aStuff.size())) {
        text.Line("-stuff");
    } else if (stuffed > 0) {
        text.Line("-stuff=" + stuffNames);
    }
    std::string path = writePath(m.m_objPath.Join());
    if (options::EqualsIgnoringCase(m.m_strFileType, "Preprocess Assembly file") &&
        options::EqualsIgnoringCase(m.m_objPath.ext, ".s")) {
        text.Line("-S > " + path);
    } else {
        text.Line(std::string(At(kOutputPrefixes, m.m_nOutput)) + path);
    }
}

std::string Quote(std::string_view path) {
    return QuotePath(path);
}

} // namespace

std::string BuildCompilerCommand(const CCompilerModel& model, std::string_view inputText) {
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

std::string BuildCompilerMakefileCommand(const CCompilerModel& model, std::string_view inputText,
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
