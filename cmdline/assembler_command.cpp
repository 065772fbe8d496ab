#include "cmdline/assembler_command.h"

#include "models/assembler_keys.h"

namespace quorle::cmdline {

using models::AssemblerModel;
using namespace models::assembler_keys;
namespace tc = quorle::toolchain;

namespace {

void TargetArguments(CommandText& text, const AssemblerModel& m) {
    const auto& flags = m.targetFlags_;
    if (m.familyCode_ == tc::kCodeCorvo) {
        if (m.endian_ == 1) text.Line("-little");
        if (flags[3]) text.Line("-morvath");
    } else if (m.familyCode_ == tc::kCodeZenta) {
        if (m.endian_ == 0) text.Line("--mbig-endian-data");
        if (m.endian_ == 1) text.Line("--mlittle-endian-data");
        if (flags[2]) text.Line("--mpid");
        text.Line(flags[3] ? "--m64bit-doubles" : "--m32bit-doubles");
        if (flags[5]) text.Line("-relax");
        if (flags[7]) text.Line("--muse-conventional-section-names");
        if (m.maxVarsFlag_ == 1) text.Line("--msmall-data-limit");
    }
}

std::string Assignment(const std::string& a) {
    return (a.find('"') != std::string::npos ? "-assignc=" : "-assigna=") + a;
}

void SwitchesAndExtra(CommandText& text, const AssemblerModel& m) {
    // The DSP switch exists only for Corvo.
    size_t first = m.familyCode_ == tc::kCodeCorvo ? 0 : 1;
    for (size_t i = first; i < m.switches_.size(); ++i)
        if (m.switches_[i]) text.Line(kSwitchArgs[i]);
    for (const std::string& word : SplitWords(m.extra_)) text.Line(word);
}

std::string ShowArgument(const AssemblerModel& m, int setting, std::string_view name) {
    std::string words;
    for (size_t i = 0; i < m.show_.size(); ++i) {
        if (m.show_[i] != setting) continue;
        if (!words.empty()) words += ',';
        words += kShowSettings[i].word;
    }
    if (m.showTab_ == 1) {
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

std::string BuildAssemblerArguments(const AssemblerModel& m) {
    CommandText text;
    TargetArguments(text, m);
    for (const std::string& dir : m.incDirs_) text.Line("-I " + QuotePath(dir));
    for (const std::string& def : m.defines_) text.Line("--defsym " + OneArgument(def));
    for (const std::string& a : m.assigns_) text.Line(Assignment(a));
    if (m.debugLevel_ == 1) text.Line("--gstabs");
    if (m.debugLevel_ == 2) text.Line("--gdwarf2");
    if (m.genObj_ == 1) text.Line("-Z");
    if (m.foldSec_ == 1) text.Line("-R");
    text.Line("-o " + QuotePath(m.ObjectFile()));
    if (m.listing_ == 1) {
        std::string arg = "-a";
        for (size_t i = 0; i < m.listContents_.size(); ++i)
            if (m.listContents_[i]) arg += kListContentLetters[i];
        arg += '=';
        arg += QuotePath(m.ListFile());
        text.Line(arg);
    }
    SwitchesAndExtra(text, m);
    return std::move(text).Finish();
}

std::string BuildAssemblerArguments(const AssemblerModel& model, bool /*extraFlag*/) {
    return BuildAssemblerArguments(model);
}

std::string BuildAssemblerMakefileArguments(const AssemblerModel& m,
                                            const PathWriter& rewriteMakefilePath) {
    CommandText text;
    TargetArguments(text, m);
    for (const std::string& dir : m.incDirs_) text.Line("-include=" + rewriteMakefilePath(dir));
    for (const std::string& def : m.defines_) text.Line("-define=" + def);
    for (const std::string& a : m.assigns_) text.Line(Assignment(a));
    if (m.debugLevel_ == 1) text.Line("-debug");
    if (m.debugLevel_ == 2) text.Line("-nodebug");
    text.Line("-object=" + rewriteMakefilePath(m.ObjectFile()));
    if (m.listing_ != 1) {
        text.Line("-nolist");
    } else {
        text.Line("-list=" + rewriteMakefilePath(m.ListFile()));
        if (m.source_ == 1) text.Line("-source");
        if (m.source_ == 2) text.Line("-nosource");
        // Show settings only matter when the source is listed.
        if (m.source_ != 2) {
            text.Line(ShowArgument(m, 1, "-show"));
            text.Line(ShowArgument(m, 2, "-noshow"));
        }
        if (m.crossRef_ == 1) text.Line("-cross_reference");
        if (m.crossRef_ == 2) text.Line("-nocross_reference");
        if (m.listSection_ == 1) text.Line("-section");
        if (m.listSection_ == 2) text.Line("-nosection");
    }
    text.Line("-nologo");
    SwitchesAndExtra(text, m);
    return std::move(text).Finish();
}

} // namespace quorle::cmdline
