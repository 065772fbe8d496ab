#include "cmdline/assembler_command.h"

#include "models/assembler_keys.h"

namespace quorle::cmdline {

using models::CAssemblerModel;
using namespace models::assembler_keys;
namespace tc = quorle::toolchain;

namespace {

void TargetArguments(CommandText& text, const CAssemblerModel& m) {
    const auto& flags = m.m_aTargetFlags;
    if (m.m_nFamilyCode == tc::kCodeCorvo) {
        if (m.m_nEndian == 1) text.Line("-little");
        if (flags[3]) text.Line("-morvath");
    } else if (m.m_nFamilyCode == tc::kCodeZenta) {
        if (m.m_nEndian == 0) text.Line("--mbig-endian-data");
        if (m.m_nEndian == 1) text.Line("--mlittle-endian-data");
        if (flags[2]) text.Line("--mpid");
        text.Line(flags[3] ? "--m64bit-doubles" : "--m32bit-doubles");
        if (flags[5]) text.Line("-relax");
        if (flags[7]) text.Line("--muse-conventional-section-names");
        if (m.m_nMaxVarsFlag == 1) text.Line("--msmall-data-limit");
    }
}

std::string Assignment(const std::string& a) {
    return (a.find('"') != std::string::npos ? "-assignc=" : "-assigna=") + a;
}

void SwitchesAndExtra(CommandText& text, const CAssemblerModel& m) {
    // The DSP switch exists only for Corvo.
    size_t first = m.m_nFamilyCode == tc::kCodeCorvo ? 0 : 1;
    for (size_t i = first; i < m.m_aSwitches.size(); ++i)
        if (m.m_aSwitches[i]) text.Line(kSwitchArgs[i]);
    for (const std::string& word : SplitWords(m.m_strExtra)) text.Line(word);
}

std::string ShowArgument(const CAssemblerModel& m, int setting, std::string_view name) {
    std::string words;
    for (size_t i = 0; i < m.m_aShow.size(); ++i) {
        if (m.m_aShow[i] != setting) continue;
        if (!words.empty()) words += ',';
        words += kShowWords[i];
    }
    if (m.m_nShowTab == 1) {
        if (!words.empty()) words += ',';
        words += "tab=4";
    }
    if (words.empty()) return {};
    std::string arg(name);
    arg += '=';
    if (words.find(',') != std::string::npos) {
        arg += '(' + words + ')';
    } else {
        arg += words;
    }
    return arg;
}

} // namespace

std::string BuildAssemblerArguments(const CAssemblerModel& m) {
    CommandText text;
    TargetArguments(text, m);
    for (const std::string& dir : m.m_lstIncDirs) text.Line("-I " + QuotePath(dir));
    for (const std::string& def : m.m_lstDefines) text.Line("--defsym " + OneArgument(def));
    for (const std::string& a : m.m_lstAssigns) text.Line(Assignment(a));
    if (m.m_nDebugLevel == 1) text.Line("--gstabs");
    if (m.m_nDebugLevel == 2) text.Line("--gdwarf2");
    if (m.m_nGenObj == 1) text.Line("-Z");
    if (m.m_nFoldSec == 1) text.Line("-R");
    text.Line("-o " + QuotePath(m.ObjectFile()));
    if (m.m_nListing == 1) {
        std::string arg = "-a";
        for (size_t i = 0; i < m.m_aListContents.size(); ++i)
            if (m.m_aListContents[i]) arg += kListContentLetters[i];
        arg += '=';
        arg += QuotePath(m.ListFile());
        text.Line(arg);
    }
    SwitchesAndExtra(text, m);
    return std::move(text).Finish();
}

std::string BuildAssemblerArguments(const CAssemblerModel& model, bool /*extraFlag*/) {
    return BuildAssemblerArguments(model);
}

std::string BuildAssemblerMakefileArguments(const CAssemblerModel& m,
                                            const PathWriter& rewriteMakefilePath) {
    CommandText text;
    TargetArguments(text, m);
    for (const std::string& dir : m.m_lstIncDirs) text.Line("-include=" + rewriteMakefilePath(dir));
    for (const std::string& def : m.m_lstDefines) text.Line("-define=" + def);
    for (const std::string& a : m.m_lstAssigns) text.Line(Assignment(a));
    if (m.m_nDebugLevel == 1) text.Line("-debug");
    if (m.m_nDebugLevel == 2) text.Line("-nodebug");
    text.Line("-object=" + rewriteMakefilePath(m.ObjectFile()));
    if (m.m_nListing != 1) {
        text.Line("-nolist");
    } else {
        text.Line("-list=" + rewriteMakefilePath(m.ListFile()));
        if (m.m_nSource == 1) text.Line("-source");
        if (m.m_nSource == 2) text.Line("-nosource");
        // Show settings only matter when the source is listed.
        if (m.m_nSource != 2) {
            text.Line(ShowArgument(m, 1, "-show"));
            text.Line(ShowArgument(m, 2, "-noshow"));
        }
        if (m.m_nCrossRef == 1) text.Line("-cross_reference");
        if (m.m_nCrossRef == 2) text.Line("-nocross_reference");
        if (m.m_nListSection == 1) text.Line("-section");
        if (m.m_nListSection == 2) text.Line("-nosection");
    }
    text.Line("-nologo");
    SwitchesAndExtra(text, m);
    return std::move(text).Finish();
}

} // namespace quorle::cmdline
