// Each model's key registry against the model's own reader: no key twice,
// and every key it lists is really read. The options editor's coverage check
// walks these registries, so they must not drift from what the models read.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/generator_model.h"
#include "models/key_registry.h"
#include "models/linker_keys.h"
#include "models/linker_model.h"
#include "toolchain/family.h"

namespace models = quorle::models;
namespace tc = quorle::toolchain;
using models::KeyList;
using models::KeyRegistry;

namespace {

using SV = std::string_view;

std::string Bracketed(SV body) {
    return "[" + std::string(body) + "]";
}

// Values tried after a key that carries one: what the different readers
// take (a quoted path, a number, a section list, a show word, a CRC type,
// the build mode, the CPU selection, CPU types of several families).
std::vector<std::string> SampleValues() {
    std::vector<std::string> values = {"\"d/f.x\"", "7",     "P=x",   "ALL",  "CONST",
                                       "SYMBOL",    "CCITT", "BUILD", "Other"};
    for (int family : {tc::kCodeCorvo, tc::kCodePelka, tc::kCodeZenta})
        if (const tc::CpuRow* row = tc::CpuRowAt(family, 1)) values.emplace_back(row->value);
    return values;
}

// True when the model that read `with` differs from the one that read `base`.
using Reads = std::function<bool(const std::string& base, const std::string& with)>;

template <class Model> bool ChangesModel(const std::string& base, const std::string& with) {
    Model before;
    before.Read(base);
    Model after;
    after.Read(with);
    return !(before == after);
}

// The linker carries what no reader takes, so a token is read when it is not
// carried, or when the model sees it among the carried ones.
bool LinkerReads(const std::string& base, const std::string& with) {
    models::LinkerModel before(base);
    models::LinkerModel after(with);
    return after.Carried().size() == before.Carried().size() ||
           static_cast<const models::LinkerFields&>(before) !=
               static_cast<const models::LinkerFields&>(after) ||
           before.OptimisationFlag() != after.OptimisationFlag();
}

// "T|KEY|" of an entry.
SV KeyPart(SV entry) {
    size_t first = entry.find('|');
    size_t second = first == SV::npos ? SV::npos : entry.find('|', first + 1);
    return second == SV::npos ? entry : entry.substr(0, second + 1);
}

// Whether the model reads `entry`, a whole token or a key with any of the
// sample values. A token for a default shows only against another state, so
// it is also read before and after the other tokens of its key (or, for a key
// with a value, the other keys with the same value), each also after the
// Zenta CPU selection: the Zenta numbers are kept for Zenta only.
bool EntryIsRead(const Reads& reads, const KeyRegistry& keys, SV entry) {
    const bool valueKey = KeyRegistry::IsValueKey(entry);
    std::vector<std::string> values = valueKey ? SampleValues() : std::vector<std::string>{""};
    for (const std::string& zenta : {std::string(), std::string("[S|CPU|Other] ")}) {
        for (const std::string& value : values) {
            const std::string token = Bracketed(std::string(entry) + value);
            std::vector<std::string> others = {""};
            for (KeyList table : keys.Tables())
                for (SV other : table)
                    if (!other.empty() && other != entry &&
                        (valueKey ? KeyRegistry::IsValueKey(other)
                                  : KeyPart(other) == KeyPart(entry)))
                        others.push_back(Bracketed(std::string(other) + (valueKey ? value : "")));
            for (const std::string& other : others) {
                const std::string base = zenta + other;
                if (reads(base, base + " " + token) || reads(base, zenta + token + " " + other))
                    return true;
            }
        }
    }
    return false;
}

struct Phase {
    const char* name;
    const KeyRegistry& keys;
    Reads reads;
    // Registered keys whose reading cannot be seen, and why.
    std::map<std::string, std::string> unseen;
};

std::vector<Phase> Phases() {
    namespace g = models::generator_keys;
    std::map<std::string, std::string> generatorUnseen;
    for (SV key : g::kIgnoredKeys) generatorUnseen.emplace(key, "accepted, no effect");
    for (SV key : g::kIgnoredPrefixes) generatorUnseen.emplace(key, "accepted, no effect");
    std::vector<Phase> phases;
    phases.push_back({"compiler",
                      models::CompilerModel::ReadKeys(),
                      ChangesModel<models::CompilerModel>,
                      {{std::string(models::compiler_keys::kFuncSectsAlias), "holds no field"},
                       {std::string(models::compiler_keys::kRound[0]),
                        "the only position of its field, and its default"}}});
    phases.push_back({"assembler",
                      models::AssemblerModel::ReadKeys(),
                      ChangesModel<models::AssemblerModel>,
                      {}});
    phases.push_back({"linker",
                      models::LinkerModel::ReadKeys(),
                      LinkerReads,
                      {{std::string(models::linker_keys::kOptimiseOff),
                        "carried; the optimisation flag's off form"}}});
    phases.push_back({"generator", models::GeneratorModel::ReadKeys(),
                      ChangesModel<models::GeneratorModel>, generatorUnseen});
    return phases;
}

} // namespace

TEST(KeyRegistry, KnowsWholeTokensAndKeysWithAValueOnly) {
    static constexpr SV kChoice[] = {"", "B|ONE|1", "S|FORM|LIBRARY|S"};
    static constexpr SV kValueKey = "S|DIR|";
    KeyRegistry registry{kChoice};
    registry.Add(kValueKey);
    registry.Add(std::string_view("I|COUNT|"));
    EXPECT_TRUE(registry.Knows("B|ONE|1"));
    EXPECT_TRUE(registry.Knows("S|FORM|LIBRARY|S"));
    EXPECT_TRUE(registry.Knows("S|DIR|\"a\"|\"b\""));
    EXPECT_TRUE(registry.Knows("S|DIR|"));
    EXPECT_TRUE(registry.Knows("I|COUNT|12"));
    // A whole token takes no value, and an empty entry matches nothing.
    EXPECT_FALSE(registry.Knows("B|ONE|0"));
    EXPECT_FALSE(registry.Knows("S|FORM|LIBRARY|U"));
    EXPECT_FALSE(registry.Knows(""));
    EXPECT_FALSE(registry.Knows("S|DIRS|x"));
    EXPECT_FALSE(registry.Knows("S|DI"));
    // The tables as given, singles among them.
    ASSERT_EQ(registry.Tables().size(), 3u);
    EXPECT_EQ(registry.Tables()[0].size(), 3u);
    EXPECT_EQ(registry.Tables()[2][0], "I|COUNT|");
    // A moved registry keeps its singles.
    KeyRegistry moved(std::move(registry));
    EXPECT_EQ(moved.Tables()[1][0], kValueKey);
    EXPECT_TRUE(moved.Knows("I|COUNT|3"));
}

TEST(KeyRegistry, EachModelListsEveryKeyOnceInAReadableForm) {
    for (const Phase& phase : Phases()) {
        std::set<SV> seen;
        for (SV shared : models::ModelBase::SharedKeys()) seen.insert(shared);
        size_t entries = 0;
        for (KeyList table : phase.keys.Tables()) {
            for (SV entry : table) {
                if (entry.empty()) continue;
                ++entries;
                EXPECT_TRUE(seen.insert(entry).second) << phase.name << ": " << entry << " twice";
                // Type letter, bar, key, bar: a key with a value has nothing
                // after its second bar, a whole token has.
                size_t bars = static_cast<size_t>(std::count(entry.begin(), entry.end(), '|'));
                if (KeyRegistry::IsValueKey(entry))
                    EXPECT_EQ(bars, 2u) << phase.name << ": " << entry;
                else
                    EXPECT_GE(bars, 2u) << phase.name << ": " << entry;
            }
        }
        EXPECT_GT(entries, 40u) << phase.name;
    }
}

TEST(KeyRegistry, EveryRegisteredKeyIsReadByItsModel) {
    for (const Phase& phase : Phases()) {
        std::set<std::string> unseenFound;
        for (KeyList table : phase.keys.Tables()) {
            for (SV entry : table) {
                if (entry.empty()) continue;
                std::string key(entry);
                if (phase.unseen.count(key) != 0) {
                    unseenFound.insert(key);
                    continue;
                }
                EXPECT_TRUE(EntryIsRead(phase.reads, phase.keys, entry))
                    << phase.name << " does not read " << entry;
            }
        }
        // An exemption for a key the registry no longer holds is stale.
        for (const auto& [key, why] : phase.unseen)
            EXPECT_EQ(unseenFound.count(key), 1u)
                << phase.name << ": " << key << " (" << why << ") is not registered";
    }
}

TEST(KeyRegistry, AKeyOutsideTheRegistryIsNotRead) {
    // The assembler's assignment key means nothing to the other models: they
    // drop it, and the linker carries it as it stands.
    const std::string foreign = "[S|ASSIGNA|X=1]";
    ASSERT_TRUE(models::AssemblerModel::ReadKeys().Knows("S|ASSIGNA|X=1"));
    EXPECT_TRUE(ChangesModel<models::AssemblerModel>("", foreign));
    EXPECT_TRUE(LinkerReads("", "[S|INCDIR|\"d\"]"));
    for (const KeyRegistry* keys :
         {&models::CompilerModel::ReadKeys(), &models::GeneratorModel::ReadKeys(),
          &models::LinkerModel::ReadKeys()})
        EXPECT_FALSE(keys->Knows("S|ASSIGNA|X=1"));
    EXPECT_FALSE(ChangesModel<models::CompilerModel>("", foreign));
    EXPECT_FALSE(ChangesModel<models::GeneratorModel>("", foreign));
    EXPECT_FALSE(LinkerReads("", foreign));
    EXPECT_EQ(models::LinkerModel(foreign).Carried(), std::vector<std::string>{"S|ASSIGNA|X=1"});
}
