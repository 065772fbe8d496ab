// The category pages as data on the page engine: loading and saving without
// a change keeps every string; each control changes its own keys and only
// the keys coupled to it; mixed selections keep their differences; Restore
// defaults; enabling rules.
#include <gtest/gtest.h>

#include <map>

#include "models/compiler_keys.h"
#include "page_fixture.h"
#include "sheet/page_builders.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

// Strings of every phase with much set, odd values, quotes, unknown keys
// and a section layout, so that a page that wrote anything it was not asked
// to would show it.
const std::map<int, std::vector<std::string>>& Strings() {
    static const std::map<int, std::vector<std::string>> strings = {
        {0,
         {"",
          "[V|VERSION|2] [S|INCDIR|\"$(TCINSTALL)\\corvo-elf\\include\"|\"a b\"] "
          "[S|DEFINES|\"X=\\\"q\\\"\"|Y] [B|WALL|1] [B|PEWARN|1] [B|LOUTLIST|1] "
          "[S|LFILE|\"$(CONFIGDIR)\\x.lst\"] [B|LINCSYM|1] [B|OPTIMIZE|0] [B|MAP|1] "
          "[S|MAPPATH|\"m.bls\"] [S|SECTION|P=PX] [S|ABS16|DATA] [I|ALIGN|16] [S|TEMPLATE|USED] "
          "[B|FNOB|1] [S|APPTXT|\"-DZ \\\"w\\\"\"] [S|CPUTYPE|CV2] [B|MRELAX|1] [B|DOOPTLIB|1] "
          "[B|SKIPDEPENDENCY|1] [B|UNKNOWN|1]",
          "[I|DEBUGLV|0] [S|OUTPUT|ASMCODE] [S|CASE|TABLE] [S|STUFF_SECTION|CONST,BSS] "
          "[B|FFUNCSECTS|1]"}},
        {1,
         {"",
          "[V|VERSION|2] [S|INCDIR|\"inc\"] [S|DEFINES|A=1|B] [S|ASSIGNA|X=1] [S|ASSIGNC|Y=\"s\"] "
          "[B|LOUTLIST|1] [B|SOURCE|0] [B|SHOWCOND|1] [B|CROSSREF|0] [S|INCODE|SJIS] [B|SWMESS|1] "
          "[S|APPTXT|\"-x\"] [S|ROUND|ZERO] [S|CPUTYPE|CV2]"}},
        {2,
         {"",
          "[V|VERSION|2] [B|SUBCOMMAND|1] [S|EXTFILE|\"my.sub\"] [S|INCDIR|\"$(PROJDIR)\\lib\"] "
          "[S|ARCHIVE|a.a*b.a] [S|INPUT|\"x.o\"] [S|DEFINE|\"s\",\"1\"] [B|ENTRY|1] "
          "[S|ENTRY|\"_go\"] "
          "[S|OUTFORM|BOTH] [S|RECORD|S2] [B|DORELOC|1] [I|SBYRELOC|12] [B|MFILEGEN|1] "
          "[S|PLMFILE|\"$(CONFIGDIR)\\m.map\"] [S|SHOW|SYMBOL|XREFERENCE] [B|USEGCCTOLINK|1] "
          "[S|MEMDET|ram|0|0x0|0xFFFF|*] [S|FSYMBOL|f1] [B|GCSECTS|1] [S|APPTXT|\"-q\"] "
          "[B|OPTIMIZE|1] [S|CPUTYPE|CV2] [B|ODD|7]"}},
        {3,
         {"", "[V|VERSION|2] [S|MODE|BUILD] [B|MATH|1] [B|DOOPTLIB|1] [I|OPTTYPE|0] [B|FFMATH|1] "
              "[S|APPTXTCMP|\"-DA -DB\"] [S|CPUTYPE|CV2] [B|GLOBAL_VOLATILE|1]"}},
    };
    return strings;
}

// Valid entries for the list controls, tried in order until one is taken.
const std::vector<std::string> kEntries = {
    "NAME=1", "$(PROJDIR)\\inc", "S1",      "H16",         "CONST",       "DATA", "PROGRAM=16",
    "C=CX",   "SYMBOL",          "SECTION", "a.bin|.data", "RAM,0x0,0xFF"};

// Keys a control may change besides its own, because the model couples them.
const std::map<std::string, std::set<std::string>> kCoupled = {
    {"DOOPTLIB", {"INCDIR"}},  // toolchain header directories follow the library
    {"OUTPUT", {"OBJPATH"}},   // the output extension follows the kind
    {"DEBUGLV", {"DEBUG"}},    // level None is debug off
    {"LOUTLIST", {"LFILE"}},   // the list file is written with the listing
    {"MFILEGEN", {"PLMFILE"}}, // the map file is written with the map                     // the
                               // list file is written with the listing
};

std::set<std::string> OwnKeys(const ControlDef& c) {
    std::set<std::string> keys;
    // All thirteen basic warnings are written as one key.
    for (std::string_view w : models::compiler_keys::kWarn1Keys)
        if (KeyOfToken(w) == c.key) {
            keys.insert("WALL");
            for (std::string_view other : models::compiler_keys::kWarn1Keys)
                keys.insert(KeyOfToken(other));
        }
    if (!c.key.empty()) keys.insert(c.key);
    for (const std::string& t : c.tokens) keys.insert(KeyOfToken(t));
    if (auto it = kCoupled.find(c.key); it != kCoupled.end())
        keys.insert(it->second.begin(), it->second.end());
    return keys;
}

// A value other than the control's current one, or nothing.
std::optional<Value> OtherValue(CControlPage& page, size_t i) {
    const ControlDef& c = page.Controls()[i];
    const ControlState& s = page.States()[i];
    const std::string now = s.value.empty() ? std::string() : s.value.front();
    switch (c.kind) {
    case ControlKind::Check:
        return Value{now == "1" ? "0" : "1"};
    case ControlKind::Check3:
        return Value{now == "1" ? "0" : "1"};
    case ControlKind::Choice:
        for (const std::string& v : c.values)
            if (v != now && !v.empty()) return Value{v};
        return std::nullopt;
    case ControlKind::Text:
        return Value{"t_" + now};
    case ControlKind::Number:
        return Value{now == "7" ? "8" : "7"};
    case ControlKind::List:
        for (const std::string& e : kEntries) {
            Value grown = s.value;
            grown.push_back(e);
            if (!c.checkEntry || !c.checkEntry(e, s.value)) return grown;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

TEST(Pages, LoadAndSaveWithoutAChangeKeepEveryString) {
    for (int phase = 0; phase < 4; ++phase) {
        PageSets sets;
        for (const std::string& text : Strings().at(phase)) sets.Add(phase, text);
        sets.Add(phase, Strings().at(phase).back(), "C++ source file");
        const std::vector<std::string> before = sets.Texts();
        for (auto& page : ToolTabPages(phase)) {
            page->Load(sets.Context());
            ASSERT_TRUE(page->SaveAndValidate(SaveKind::Final)) << page->ClassName();
            EXPECT_EQ(sets.Texts(), before) << page->ClassName();
            EXPECT_TRUE(sets.messages.shown.empty()) << page->ClassName();
        }
    }
}

TEST(Pages, EachControlChangesItsOwnKeysOnly) {
    int tried = 0;
    std::map<std::string, bool> effects; // per control: did any change show?
    for (int phase = 0; phase < 4; ++phase) {
        for (const std::string& text : Strings().at(phase)) {
            for (size_t p = 0; p < ToolTabPages(phase).size(); ++p) {
                auto probe = ToolTabPages(phase);
                auto* page = dynamic_cast<CControlPage*>(probe[p].get());
                if (page == nullptr) continue;
                for (size_t i = 0; i < page->Controls().size(); ++i) {
                    PageSets sets;
                    sets.Add(phase, text);
                    page->Load(sets.Context());
                    const ControlDef& c = page->Controls()[i];
                    if (!page->States()[i].enabled || !c.binding.set) continue;
                    auto value = OtherValue(*page, i);
                    if (!value) continue;
                    const std::string before = sets.Texts()[0];
                    ASSERT_EQ(page->Set(i, *value), SetOutcome::Done)
                        << page->ClassName() << " " << c.label;
                    ASSERT_TRUE(page->SaveAndValidate(SaveKind::Final)) << c.label;
                    const std::string after = sets.Texts()[0];
                    auto a = TokensOf(before), b = TokensOf(after);
                    std::set<std::string> changed;
                    for (const auto& t : a)
                        if (b.count(t) != a.count(t)) changed.insert(TokenKey(t));
                    for (const auto& t : b)
                        if (b.count(t) != a.count(t)) changed.insert(TokenKey(t));
                    // A value that only moves a field to where it writes the
                    // same text changes nothing; anything else must show.
                    const std::set<std::string> own = OwnKeys(c);
                    for (const std::string& key : changed)
                        EXPECT_TRUE(own.count(key) != 0)
                            << page->ClassName() << " \"" << c.label << "\" changed " << key
                            << "\n  " << before << "\n  " << after;
                    bool& effect = effects[page->ClassName() + " \"" + c.label + "\""];
                    effect = effect || !changed.empty();
                    ++tried;
                    // The page reloads what it wrote (lists in the model's order).
                    page->Load(sets.Context());
                    Value shown = page->States()[i].value, wanted = *value;
                    if (c.kind == ControlKind::List) {
                        std::sort(shown.begin(), shown.end());
                        std::sort(wanted.begin(), wanted.end());
                    }
                    EXPECT_EQ(shown, wanted) << page->ClassName() << " " << c.label;
                }
            }
        }
    }
    EXPECT_GT(tried, 300);
    // A control whose change writes nothing does nothing for the user.
    std::string never;
    for (const auto& [name, effect] : effects)
        if (!effect) never += name + "\n";
    EXPECT_TRUE(never.empty()) << never;
}

TEST(Pages, CoupledKeysChangeTogether) {
    PageSets sets;
    sets.Add(0, "[S|INCDIR|\"$(TCINSTALL)\\corvo-elf\\include\"|\"$(PROJDIR)\\include\"]");
    auto pages = ToolTabPages(0);
    auto& source = *dynamic_cast<CControlPage*>(pages[0].get());
    source.Load(sets.Context());
    ASSERT_EQ(source.Set(*source.FindControl("DOOPTLIB"), {"1"}), SetOutcome::Done);
    ASSERT_TRUE(source.SaveAndValidate(SaveKind::Final));
    auto* model = As<models::CompilerModel>(sets.owned[0]->model.get());
    EXPECT_EQ(model->incDirs_, (std::vector<std::string>{"$(TCINSTALL)\\corvo-elf\\optlibinc",
                                                         "$(PROJDIR)\\include"}));
    // Debug level None writes debug off; a level turns it on again.
    auto& object = *dynamic_cast<CControlPage*>(pages[6].get());
    ASSERT_EQ(object.ClassName(), "CPageCppObject");
    object.Load(sets.Context());
    ASSERT_EQ(object.Set(*object.FindControl("DEBUGLV"), {"0"}), SetOutcome::Done);
    EXPECT_FALSE(object.States()[*object.FindControl("DEBUGFT")].enabled);
    ASSERT_TRUE(object.SaveAndValidate(SaveKind::Final));
    EXPECT_NE(model->Write().find("[B|DEBUG|0]"), std::string::npos);
    object.Load(sets.Context());
    ASSERT_EQ(object.Set(*object.FindControl("DEBUGLV"), {"1"}), SetOutcome::Done);
    ASSERT_TRUE(object.SaveAndValidate(SaveKind::Final));
    EXPECT_NE(model->Write().find("[B|DEBUG|1]"), std::string::npos);
    EXPECT_NE(model->Write().find("[I|DEBUGLV|1]"), std::string::npos);
    // The output kind brings its extension.
    object.Load(sets.Context());
    ASSERT_EQ(object.Set(*object.FindControl("OUTPUT"), {"ASMCODE"}), SetOutcome::Done);
    ASSERT_TRUE(object.SaveAndValidate(SaveKind::Final));
    EXPECT_EQ(model->objPath_.ext, ".s");
}

TEST(Pages, EnablingRulesFollowTheControlsTheyName) {
    PageSets sets;
    sets.Add(0, "[B|OPTIMIZE|1]");
    auto pages = ToolTabPages(0);
    auto& optimize = *dynamic_cast<CControlPage*>(pages[8].get());
    ASSERT_EQ(optimize.Label(), "Optimize");
    optimize.Load(sets.Context());
    EXPECT_TRUE(optimize.States()[*optimize.FindControl("LTO")].enabled);
    ASSERT_EQ(optimize.Set(*optimize.FindControl("OPTIMIZE"), {"0"}), SetOutcome::Done);
    EXPECT_FALSE(optimize.States()[*optimize.FindControl("LTO")].enabled);
    EXPECT_EQ(optimize.Set(*optimize.FindControl("LTO"), {"1"}), SetOutcome::Disabled);
    // Inhibiting all warnings disables the single ones.
    auto& messages = *dynamic_cast<CControlPage*>(pages[4].get());
    messages.Load(sets.Context());
    ASSERT_EQ(messages.Set(*messages.FindControl("WINHIBIT"), {"1"}), SetOutcome::Done);
    EXPECT_FALSE(messages.States()[*messages.FindControl("WFORMAT")].enabled);
}

TEST(Pages, MixedSelectionKeepsItsDifferences) {
    // Two files that differ in five keys; the sixth is set on both.
    PageSets sets;
    sets.Add(0, "[S|DEFINES|A] [B|WCSUB|1] [B|OPTIMIZE|0] [B|FNOB|1] [S|OUTPUT|ASMCODE]");
    sets.Add(0, "[S|DEFINES|B] [I|OPTLV|1] [B|LOUTLIST|1] [B|ANSI|1] [S|APPTXT|\"-q\"]");
    const auto before = sets.Texts();
    auto pages = ToolTabPages(0);
    for (auto& page : pages) {
        page->Load(sets.Context());
        ASSERT_TRUE(page->SaveAndValidate(SaveKind::Leave));
    }
    EXPECT_EQ(sets.Texts(), before);
    auto& other = *dynamic_cast<CControlPage*>(pages[9].get());
    other.Load(sets.Context());
    const size_t fnob = *other.FindControl("FNOB"), ansi = *other.FindControl("ANSI");
    EXPECT_TRUE(other.States()[fnob].mixed);
    EXPECT_TRUE(other.States()[ansi].mixed);
    ASSERT_EQ(other.Set(*other.FindControl("PEDANTIC"), {"1"}), SetOutcome::Done);
    ASSERT_TRUE(other.SaveAndValidate(SaveKind::Final));
    for (size_t s = 0; s < 2; ++s) {
        auto was = TokensOf(before[s]);
        was.insert("B|PEDANTIC|1");
        EXPECT_EQ(TokensOf(sets.Texts()[s]), was) << s;
    }
}

TEST(Pages, RestoreDefaultsGivesEachModelItsOwnDefault) {
    PageSets sets;
    sets.Add(0, "[S|OUTPUT|PREPROCESSOR] [B|DEBUG|0] [S|SECTION|P=PX] [B|WCSUB|1]",
             "C source file");
    sets.Add(0, "[S|OUTPUT|ASMCODE] [S|DEBUGFT|COFF] [B|WCSUB|1]", "C++ source file");
    auto pages = ToolTabPages(0);
    auto& object = *dynamic_cast<CControlPage*>(pages[6].get());
    object.Load(sets.Context());
    ASSERT_EQ(object.Press(*object.FindControl("Restore defaults")), SetOutcome::Done);
    EXPECT_EQ(sets.Texts()[0], models::CompilerModel("C source file", "[B|WCSUB|1]").Write());
    EXPECT_EQ(sets.Texts()[1], models::CompilerModel("C++ source file", "[B|WCSUB|1]").Write());
    EXPECT_FALSE(object.States()[*object.FindControl("DEBUGFT")].mixed);
    // Only buttons named so restore.
    EXPECT_EQ(object.Press(*object.FindControl("OUTPUT")), SetOutcome::Disabled);
}

TEST(ListEditor, AddModifyRemoveAndMoveKeepTheOrder) {
    PageSets sets;
    sets.Add(0, "[S|INCDIR|\"a\"|\"b\"|\"c\"]");
    auto pages = ToolTabPages(0);
    auto& include = *dynamic_cast<CControlPage*>(pages[2].get());
    include.Load(sets.Context());
    const size_t list = *include.FindControl("INCDIR");
    ASSERT_EQ(include.ListMove(list, 2, 0), SetOutcome::Done); // Up twice
    ASSERT_EQ(include.ListAdd(list, "$(PROJDIR)\\d"), SetOutcome::Done);
    ASSERT_EQ(include.ListModify(list, 1, "A"), SetOutcome::Done);
    ASSERT_EQ(include.ListRemove(list, 2), SetOutcome::Done);
    EXPECT_EQ(include.ListMove(list, 0, 9), SetOutcome::BadValue);
    ASSERT_TRUE(include.SaveAndValidate(SaveKind::Final));
    EXPECT_EQ(As<models::CompilerModel>(sets.owned[0]->model.get())->incDirs_,
              (std::vector<std::string>{"c", "A", "$(PROJDIR)\\d"}));
}

TEST(ListEditor, EntriesAreCheckedBeforeTheyGoIn) {
    PageSets sets;
    sets.Add(2, "");
    auto pages = ToolTabPages(2);
    for (auto& page : pages) {
        if (page->Label() != "Output") continue;
        auto& output = *dynamic_cast<CControlPage*>(page.get());
        output.Load(sets.Context());
        const size_t records = *output.FindControl("RECORD");
        ASSERT_EQ(output.ListAdd(records, "S3"), SetOutcome::Done);
        EXPECT_EQ(output.ListAdd(records, "S1"), SetOutcome::Refused);
        EXPECT_EQ(output.ListAdd(records, "Q7"), SetOutcome::Refused);
        ASSERT_EQ(output.ListAdd(records, "H16"), SetOutcome::Done);
        ASSERT_EQ(sets.messages.shown.size(), 2u);
        EXPECT_EQ(sets.messages.shown[0].text, "Only one S-record and one hex record type.");
        ASSERT_TRUE(output.SaveAndValidate(SaveKind::Final));
        const std::string text = sets.Texts()[0];
        EXPECT_NE(text.find("[S|RECORD|H16] [S|RECORD|S3]"), std::string::npos) << text;
    }
}
