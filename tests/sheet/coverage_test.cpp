// Every key a user can set has exactly one control, on its tool tab, the CPU
// tab or the Toolchain Option tab; every control stands for a key. The keys
// come from the models' own key tables, so a key added to a model without a
// control (or a control left without a key) fails here.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "models/assembler_keys.h"
#include "models/compiler_keys.h"
#include "models/cpu_options.h"
#include "models/generator_model.h"
#include "models/linker_keys.h"
#include "page_fixture.h"
#include "sheet/bindings.h"
#include "sheet/page_cpu.h"
#include "sheet/pages/pages.h"
#include "sheet/section_pages.h"
#include "toolchain/family.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

using SV = std::string_view;
using Tables = std::vector<models::KeyList>;

// Single keys with a value, as one-entry tables.
template <size_t N> models::KeyList One(const SV (&entry)[N]) {
    return entry;
}

// ---- the one place of exemptions --------------------------------------------
// Key-table entries no control sets, and why.
const std::map<std::string, std::string>& ExemptTokens() {
    static const std::map<std::string, std::string> exempt = {
        {"V|VERSION|", "the version token: carried, rewritten by every model"},
        {"B|MAPBATCH|1", "build-control switch of a custom phase; carried, never edited"},
        {"S|FSYMBOL|", "forced symbols: read, never written by the linker model"},
        {"S|;UNGENERATESYMBOL|", "suppressed symbols: read, never written by the linker model"},
        {"S|CRC|", "CRC settings: read, never written by the linker model"},
        {"S|OTHERVIA|", "makefile-only options: read, never written by the linker model"},
        {"S|LANG|CPP", "the language follows the file type"},
        {"S|LANG|PREPRO", "the language follows the file type"},
        {"B|WALL|1", "the written form of all thirteen basic warnings, each a box of its own"},
        {"B|FFUNCSECTS|1", "old spelling of function sections: read, never written"},
        {"B|OPTIMIZEOLD|0", "older optimize setting: read only"},
        {"B|OPTIMIZEOLD|1", "older optimize setting: read only"},
        {"B|OPTIMIZEOLD|2", "older optimize setting: read only"},
        {"B|GOPTIMIZE|1", "global optimize: read only"},
        {"B|ALIGN16|1", "older spelling of 16-byte alignment, read as I|ALIGN|16"},
        {"S|MODE|", "the build mode's prefix; its two tokens are the mode choice"},
    };
    return exempt;
}
// Controls that stand for no key, by plain label, and why.
const std::map<std::string, std::string>& ExemptControls() {
    static const std::map<std::string, std::string> exempt = {
        {"A confirmation message is displayed for the modified option",
         "value 1 of the workspace settings value"},
        {"Display placeholder as expanding", "value 2 of the workspace settings value"},
        {"Section start addresses", "shows the groups' fixed addresses; edits go to S|GROUPDET|"},
        {"Max variable size in small data area",
         "the small-data box: with the limit beside it, the key B|RMMAXVARSVAL|1"},
    };
    return exempt;
}

bool IsExemptToken(const std::string& token) {
    if (ExemptTokens().count(token) != 0) return true;
    namespace g = models::generator_keys;
    for (SV ignored : g::kIgnoredKeys)
        if (token == ignored) return true; // accepted, no effect, never written
    for (SV ignored : g::kIgnoredPrefixes)
        if (token == ignored) return true;
    return false;
}

// ---- the keys of each phase -------------------------------------------------

void AddTables(std::set<std::string>& out, const Tables& tables) {
    for (models::KeyList table : tables)
        for (SV entry : table)
            if (!entry.empty()) out.emplace(entry);
}

std::set<std::string> CpuTokens() {
    std::set<std::string> out;
    for (int family : {toolchain::kCodeCorvo, toolchain::kCodePelka, toolchain::kCodeZenta})
        AddTables(out, {models::FamilyFlagKeys(family)});
    AddTables(out, {models::CpuValuePrefixes(), models::CpuEndianKeys()});
    out.emplace(models::CpuSmallDataSwitch());
    return out;
}

std::set<std::string> BuildControlTokens() {
    return {"B|SKIPDEPENDENCY|1", "N|DEPENDSCAN|1", "B|MAPBATCH|1"};
}

std::set<std::string> CompilerTokens() {
    namespace k = models::compiler_keys;
    std::set<std::string> out = CpuTokens();
    AddTables(
        out,
        {k::kLanguage,    k::kProjectType, k::kOptLib,          k::kChgIncPath, k::kWInhibit,
         k::kWarn1Keys,   k::kWarn2Keys,   k::kOutput,          k::kDebug,      k::kDebugLevel,
         k::kDebugFormat, k::kListing,     k::kListContentKeys, k::kOptimize,   k::kOptLevel,
         k::kLto,         k::kMap,         k::kOptimizeOld,     k::kGOptimize,  k::kOtherKeys,
         k::kStringData,  k::kTemplate,    k::kAbsPrefixes,     k::kDivision,   k::kNoLine,
         k::kIFunc,       k::kAlign,       k::kAlign4Scope,     k::kStuffGbr,   k::kCpuDivision,
         k::kFpu,         k::kRound,       k::kCppNoInline,     k::kCase,       k::kShift,
         k::kBlockCopy,   k::kUnaligned,   k::kSoftPipe});
    for (SV single :
         {k::kIncDir, k::kPreInclude, k::kDefines, k::kFileInlinePath, k::kWAll, k::kObjPath,
          k::kDebugLevelOff, k::kLFile, k::kMapPath, k::kFuncSectsAlias, k::kAppTxt, k::kSection,
          k::kAssembly, k::kAlign16Old, k::kStuffSection, k::kFileInline})
        out.emplace(single);
    for (const auto& t : BuildControlTokens()) out.insert(t);
    out.emplace("V|VERSION|");
    return out;
}

std::set<std::string> AssemblerTokens() {
    namespace k = models::assembler_keys;
    std::set<std::string> out = CpuTokens();
    AddTables(
        out, {k::kEndian,     k::kRound,           k::kDenormal, k::kMaxVarsFlag, k::kInCode,
              k::kDebugLevel, k::kGenObj,          k::kFoldSec,  k::kOutCode,     k::kDispSize,
              k::kListing,    k::kListContentKeys, k::kSource,   k::kSwitchKeys,  k::kErrorPath,
              k::kChgIncPath, k::kProjectType,     k::kShowCond, k::kShowDef,     k::kShowCall,
              k::kShowExp,    k::kShowCode,        k::kShowTab,  k::kCrossRef,    k::kListSection});
    for (SV single :
         {k::kCpuType, k::kCpuSelect, k::kIntRegVal, k::kMaxConstVal, k::kMaxVarsVal, k::kIncDir,
          k::kDefines, k::kAssignA, k::kAssignC, k::kObjPath, k::kLFile, k::kAppTxt})
        out.emplace(single);
    for (const auto& t : BuildControlTokens()) out.insert(t);
    out.emplace("V|VERSION|");
    return out;
}

std::set<std::string> LinkerTokens() {
    namespace k = models::linker_keys;
    std::set<std::string> out = CpuTokens();
    for (const auto& f : k::kInputFlags) out.emplace(f.key);
    for (const auto& f : k::kOutputFlags) out.emplace(f.key);
    AddTables(out, {k::kPrelink, k::kOutputForm, k::kSRecord, k::kHexRecord, k::kCpuCheck,
                    k::kSubcommandType, k::kProjectType, k::kOptLib, k::kProjectBuilt,
                    models::LinkerSwitchKeys()});
    for (SV single : {k::kSubcommand, k::kIncDir,  k::kArchive,    k::kInput,       k::kBinary,
                      k::kDefine,     k::kEntry,   k::kRelocCount, k::kRom,         k::kMultiOutput,
                      k::kOutFile,    k::kCrc,     k::kMapFile,    k::kShow,        k::kGroups,
                      k::kRegions,    k::kForced,  k::kSuppressed, k::kCheckDevice, k::kCpuInfoFile,
                      k::kPsCheck,    k::kAppText, k::kOtherVia,   k::kExtFile,     k::kOptimiseOn,
                      k::kOptimiseOff})
        out.emplace(single);
    for (const auto& t : BuildControlTokens()) out.insert(t);
    out.emplace("V|VERSION|");
    return out;
}

std::set<std::string> GeneratorTokens() {
    namespace k = models::generator_keys;
    std::set<std::string> out = CpuTokens();
    AddTables(out, {k::kMode, k::kBuild, k::kOptLib, k::kNoPrebuilt, k::kHeaderKeys, k::kOptimize,
                    k::kOptType, k::kFlagKeys, k::kIgnoredKeys, k::kIgnoredPrefixes});
    for (SV single : {k::kModePrefix, k::kOutputPath, k::kAppTxtCmp, k::kAppTxtAsm})
        out.emplace(single);
    for (const auto& t : BuildControlTokens()) out.insert(t);
    out.emplace("V|VERSION|");
    return out;
}

// ---- the controls -----------------------------------------------------------

struct Placed {
    std::string where; // tab and page
    const ControlDef* control;
};

bool Claims(const ControlDef& control, const std::string& token) {
    if (!control.tokens.empty())
        return std::find(control.tokens.begin(), control.tokens.end(), token) !=
               control.tokens.end();
    return !control.key.empty() && KeyOfToken(token) == control.key;
}

bool Editable(const ControlDef& c) {
    return !c.hidden && c.kind != ControlKind::Button && c.kind != ControlKind::Label;
}

struct Tab {
    std::vector<std::unique_ptr<CPage>> pages;
};

// The CPU tab as each family shows it.
std::vector<std::unique_ptr<CPage>> CpuPages() {
    std::vector<std::unique_ptr<CPage>> pages;
    for (int family : {toolchain::kCodeCorvo, toolchain::kCodePelka, toolchain::kCodeTamsin16,
                       toolchain::kCodeTamsin32, toolchain::kCodeZenta}) {
        auto page = std::make_unique<CPageCpu>();
        PageSets sets;
        sets.shared.familyCode = family;
        page->Load(sets.Context());
        pages.push_back(std::move(page));
    }
    return pages;
}

void CheckPhase(int phase, const std::set<std::string>& tokens) {
    auto tool = ToolTabPages(phase);
    auto cpu = CpuPages();
    CControlPage option(ToolOptionPage());
    std::map<std::string, int> claims;
    std::set<std::string> claimedAnywhere;
    auto count = [&](const std::string& where, const std::vector<CPage*>& pages, bool once) {
        for (const std::string& token : tokens) {
            int n = 0;
            for (CPage* page : pages)
                for (const ControlDef& c : page->Controls())
                    if (!c.hidden && Claims(c, token)) {
                        ++n;
                        claimedAnywhere.insert(where + ":" + c.label);
                    }
            if (once) {
                // Each family's CPU tab is one tab: a key counts once there,
                // and no family's tab may show it twice.
                for (CPage* page : pages) {
                    int inPage = 0;
                    for (const ControlDef& c : page->Controls())
                        if (!c.hidden && Claims(c, token)) ++inPage;
                    EXPECT_LE(inPage, 1) << token << " twice on the CPU tab";
                }
                n = n > 0 ? 1 : 0;
            }
            claims[token] += n;
        }
    };
    std::vector<CPage*> toolPages, cpuPages;
    for (auto& p : tool) toolPages.push_back(p.get());
    for (auto& p : cpu) cpuPages.push_back(p.get());
    count("tool", toolPages, false);
    count("cpu", cpuPages, true); // the CPU tab edits every tool phase

    count("option", {&option}, false);
    for (const std::string& token : tokens) {
        if (IsExemptToken(token)) {
            EXPECT_EQ(claims[token], 0) << token << " is exempt but has a control";
            continue;
        }
        EXPECT_EQ(claims[token], 1)
            << "phase " << phase << ": " << token << " has " << claims[token] << " controls";
    }
    // Every control of the tool tab stands for a key of this phase.
    for (CPage* page : toolPages) {
        for (const ControlDef& c : page->Controls()) {
            if (!Editable(c)) continue;
            if (ExemptControls().count(PlainLabel(c.label)) != 0) continue;
            bool any = false;
            for (const std::string& token : tokens) any = any || Claims(c, token);
            EXPECT_TRUE(any) << page->ClassName() << ": \"" << c.label << "\" is bound to no key";
            EXPECT_FALSE(c.help.empty())
                << page->ClassName() << ": \"" << c.label << "\" has no help";
        }
    }
}

} // namespace

TEST(Coverage, CompilerKeysHaveExactlyOneControl) {
    CheckPhase(0, CompilerTokens());
}
TEST(Coverage, AssemblerKeysHaveExactlyOneControl) {
    CheckPhase(1, AssemblerTokens());
}
TEST(Coverage, LinkerKeysHaveExactlyOneControl) {
    CheckPhase(2, LinkerTokens());
}
TEST(Coverage, GeneratorKeysHaveExactlyOneControl) {
    CheckPhase(3, GeneratorTokens());
}

TEST(Coverage, ControlsOfTheOtherTabsStandForKeysOrAreExempt) {
    CControlPage option(ToolOptionPage());
    for (const ControlDef& c : option.Controls()) {
        if (!Editable(c)) continue;
        EXPECT_TRUE(!c.key.empty() || ExemptControls().count(PlainLabel(c.label)) != 0) << c.label;
    }
    for (auto& page : CpuPages())
        for (const ControlDef& c : page->Controls()) {
            if (!Editable(c)) continue;
            EXPECT_TRUE(!c.key.empty() || ExemptControls().count(PlainLabel(c.label)) != 0)
                << c.label;
        }
}

TEST(Coverage, EveryPageHasUniqueMnemonicsAndRestoreDefaults) {
    for (int phase = 0; phase < 4; ++phase) {
        std::set<std::string> labels;
        for (auto& page : ToolTabPages(phase)) {
            EXPECT_TRUE(labels.insert(page->Label()).second)
                << "two pages called " << page->Label();
            // Mnemonics by control; a later label may share one only when
            // every letter and digit of it is some other control's mnemonic.
            std::vector<char> mnemonic;
            bool editable = false, restore = false;
            for (const ControlDef& c : page->Controls()) {
                editable = editable ||
                           (Editable(c) && dynamic_cast<CSectionPage*>(page.get()) == nullptr &&
                            c.binding.set != nullptr);
                restore = restore || PlainLabel(c.label) == kRestoreDefaults;
                char m = 0;
                if (c.kind != ControlKind::Label && !c.label.empty()) {
                    size_t amp = c.label.find('&');
                    EXPECT_NE(amp, std::string::npos) << page->ClassName() << ": " << c.label;
                    if (amp != std::string::npos)
                        m = static_cast<char>(
                            std::tolower(static_cast<unsigned char>(c.label[amp + 1])));
                }
                mnemonic.push_back(m);
            }
            const auto& controls = page->Controls();
            for (size_t i = 0; i < controls.size(); ++i) {
                if (mnemonic[i] == 0) continue;
                std::set<char> others;
                for (size_t j = 0; j < controls.size(); ++j)
                    if (j != i && mnemonic[j] != 0) others.insert(mnemonic[j]);
                // The first holder keeps it; a later control may share it.
                if (std::find(mnemonic.begin(), mnemonic.begin() + static_cast<long>(i),
                              mnemonic[i]) == mnemonic.begin() + static_cast<long>(i))
                    continue;
                bool free = false;
                for (char ch : controls[i].label)
                    free = free || (std::isalnum(static_cast<unsigned char>(ch)) &&
                                    others.count(static_cast<char>(
                                        std::tolower(static_cast<unsigned char>(ch)))) == 0);
                EXPECT_FALSE(free)
                    << page->ClassName() << ": mnemonic " << mnemonic[i]
                    << " shared although the label has a free letter (" << controls[i].label << ")";
            }
            EXPECT_TRUE(restore || !editable) << page->ClassName() << " has no Restore defaults";
        }
    }
}
