// Every key a user can set has exactly one control, on its tool tab, the CPU
// tab or the Toolchain Option tab; every control stands for a key. The keys
// come from the registries the models' readers consult, so a key added to a
// model without a control (or a control left without a key) fails here.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/generator_model.h"
#include "models/key_registry.h"
#include "models/linker_model.h"
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
        {"S|OUTPUT|", "the default strings' name of the linker output: read when no "
                      "S|OUTFILE| is given, carried unchanged"},
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

void AddTable(std::set<std::string>& out, models::KeyList table) {
    for (SV entry : table)
        if (!entry.empty()) out.emplace(entry);
}

// What a phase's model reads, from the registry its reader consults, and the
// keys every model shares.
std::set<std::string> PhaseTokens(const models::KeyRegistry& registry) {
    std::set<std::string> out;
    for (models::KeyList table : registry.Tables()) AddTable(out, table);
    AddTable(out, models::ModelBase::SharedKeys());
    return out;
}

std::set<std::string> CompilerTokens() {
    return PhaseTokens(models::CompilerModel::ReadKeys());
}
std::set<std::string> AssemblerTokens() {
    return PhaseTokens(models::AssemblerModel::ReadKeys());
}
std::set<std::string> LinkerTokens() {
    return PhaseTokens(models::LinkerModel::ReadKeys());
}
std::set<std::string> GeneratorTokens() {
    return PhaseTokens(models::GeneratorModel::ReadKeys());
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
