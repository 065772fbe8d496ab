// The output memo must answer exactly what the plug-in would for every file,
// whatever the plug-in does with the leaf; it may only save calls where the
// plug-in copies the leaf as it stands.
#include <gtest/gtest.h>

#include <cctype>

#include "host/output_memo.h"

namespace quorle::host {
namespace {

using List = OutputMemo::List;

std::string Spell(const std::string& leaf) {
    return "[S|OBJPATH|\"$(CONFIGDIR)\\" + leaf + ".o\"] [S|LIST|\"" + leaf + ".lst\"]";
}

// Plug-ins of several kinds, each a function of the option string alone.
struct Kind {
    const char* name;
    std::function<List(const std::string&)> answer;
    bool copiesLeaf;
};

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    size_t at = text.find(from) + from.size();
    return text.substr(at, text.find(to, at) - at);
}

std::vector<Kind> Kinds() {
    return {
        {"copies",
         [](const std::string& o) -> List {
             return std::vector<std::string>{Between(o, "\\", "\"") + "|Object file",
                                             Between(o, "LIST|\"", "\"") + "|Listing"};
         },
         true},
        {"upper-cases",
         [](const std::string& o) -> List {
             std::string path = Between(o, "\\", "\"");
             for (char& c : path)
                 c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
             return std::vector<std::string>{path + "|Object file"};
         },
         false},
        {"cuts long names",
         [](const std::string& o) -> List {
             return std::vector<std::string>{Between(o, "\\", ".o").substr(0, 8) +
                                             ".o|Object file"};
         },
         false},
        {"counts letters",
         [](const std::string& o) -> List {
             return std::vector<std::string>{std::to_string(o.size()) + ".o|Object file"};
         },
         false},
        {"fails", [](const std::string&) -> List { return std::nullopt; }, false},
    };
}

TEST(OutputMemo, EveryAnswerIsThePluginsOwnAndCallsAreSavedOnlyWhereTheLeafIsCopied) {
    const std::vector<std::string> leaves = {"main", "f00001", "QuorleStandInLeaf", "a-b_c", "x",
                                             "util", "F00002", "very_long_name_1"};
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        OutputMemo memo;
        size_t plugin = 0;
        auto ask = [&](const std::string& options) {
            ++plugin;
            return kind.answer(options);
        };
        for (const std::string& leaf : leaves) {
            SCOPED_TRACE(leaf);
            EXPECT_EQ(memo.Outputs("Compiler\nraw", leaf, Spell(leaf), Spell, ask),
                      kind.answer(Spell(leaf)));
        }
        EXPECT_EQ(memo.asked(), plugin);
        if (kind.copiesLeaf)
            EXPECT_EQ(plugin, 2u); // the first file, and the stand-in
        else
            EXPECT_GE(plugin, leaves.size());
    }
}

TEST(OutputMemo, OddLeavesAndForeignStandInsAreAskedAboutDirectly) {
    const Kind copies = Kinds()[0];
    OutputMemo memo;
    auto ask = [&](const std::string& options) { return copies.answer(options); };
    ASSERT_TRUE(memo.Outputs("k", "main", Spell("main"), Spell, ask));
    size_t before = memo.asked();
    // A blank, a dot or a quote may read otherwise than letters do.
    for (const std::string leaf : {"my file", "a.b", "q\"x", ""}) {
        EXPECT_EQ(memo.Outputs("k", leaf, Spell(leaf), Spell, ask), copies.answer(Spell(leaf)));
        EXPECT_EQ(memo.asked(), ++before) << leaf;
    }
    // The stand-in's text already in the stored string, or brought in by
    // another placeholder, cannot be told from the leaf.
    auto spellWithDir = [](const std::string& leaf) {
        return "[S|INCDIR|\"QuorleStandInLeaf\"] " + Spell(leaf);
    };
    OutputMemo other;
    auto dirAsk = [&](const std::string& options) -> List {
        return std::vector<std::string>{Between(options, "INCDIR|\"", "\"") + "/" +
                                        Between(options, "\\", "\"")};
    };
    for (const std::string leaf : {"one", "two", "three"})
        EXPECT_EQ(other.Outputs("k2", leaf, spellWithDir(leaf), spellWithDir, dirAsk),
                  dirAsk(spellWithDir(leaf)))
            << leaf;
    EXPECT_EQ(memo.Outputs("QuorleStandInLeaf", "two", Spell("two"), Spell, ask),
              copies.answer(Spell("two")));
}

// Each stored string has its own answer: two file types with different
// strings never share one.
TEST(OutputMemo, StoredStringsKeepTheirOwnAnswers) {
    OutputMemo memo;
    auto spellC = [](const std::string& leaf) { return "c " + leaf; };
    auto spellS = [](const std::string& leaf) { return "s " + leaf; };
    auto ask = [](const std::string& options) -> List {
        return std::vector<std::string>{options.substr(2) + (options[0] == 'c' ? ".o" : ".obj")};
    };
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(memo.Outputs("C\nc", "a", spellC("a"), spellC, ask),
                  (std::vector<std::string>{"a.o"}));
        EXPECT_EQ(memo.Outputs("S\ns", "a", spellS("a"), spellS, ask),
                  (std::vector<std::string>{"a.obj"}));
    }
    EXPECT_EQ(memo.asked(), 4u);
}

} // namespace
} // namespace quorle::host
