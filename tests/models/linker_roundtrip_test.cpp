// serialize(parse(serialize(m))) == serialize(m) over generated models whose
// free texts hold quotes, bars, stars, parentheses, brackets and blanks.
#include <gtest/gtest.h>

#include <random>

#include "models/linker_model.h"
#include "toolchain/cpu_table.h"

using quorle::models::CLinkerModel;
namespace sections = quorle::sections;
namespace toolchain = quorle::toolchain;

namespace {

class Generator {
  public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng_); }
    bool Coin() { return Pick(2) == 1; }

    // Free text: anything a user can type, including the option-string syntax.
    std::string Text(int maxLength = 12) {
        static const std::string kChars = "abcXYZ019 \"|*()[]=,.:\\/$_-~'";
        std::string text;
        for (int n = Pick(maxLength + 1); n > 0; --n)
            text += kChars[static_cast<size_t>(Pick(static_cast<int>(kChars.size())))];
        return text;
    }
    // A name of the stored layout and symbol lists: no blanks and no bars.
    std::string Name(int maxLength = 8) {
        static const std::string kChars = "abcXYZ019._$";
        std::string text = "_";
        for (int n = Pick(maxLength); n > 0; --n)
            text += kChars[static_cast<size_t>(Pick(static_cast<int>(kChars.size())))];
        return text;
    }
    std::vector<std::string> Texts(int max = 4) {
        std::vector<std::string> list;
        for (int n = Pick(max + 1); n > 0; --n) list.push_back(Text());
        return list;
    }
    std::vector<std::string> NonEmptyTexts(int max = 4) {
        std::vector<std::string> list;
        for (int n = Pick(max + 1); n > 0; --n) list.push_back("l" + Text());
        return list;
    }

    sections::SectionGroup Group(int depth, std::vector<std::string>& labels) {
        sections::SectionGroup group;
        group.name = "." + Name();
        group.colour = Pick(20) - 1;
        group.loadKind = Pick(3);
        group.loadAddress = group.loadKind ? Name() + "+0x" + std::to_string(Pick(99)) : "";
        group.placement = depth == 0 ? std::vector<int>{0, 1, 3}[static_cast<size_t>(Pick(3))] : 2;
        group.placementText = group.placement == 1   ? "0x" + std::to_string(Pick(1 << 20))
                              : group.placement == 3 ? Name()
                                                     : "";
        group.noLoad = Coin();
        group.keep = Coin();
        for (int n = Pick(4); n > 0; --n) {
            if (Coin()) {
                // Labels are unique, as the label check makes them.
                std::string label = Name() + std::to_string(labels.size());
                if (Coin()) label += "____=____SIZEOF(" + Name() + ")+[4]";
                labels.push_back(label);
                group.contents.push_back(sections::LabelItem(label));
            } else {
                std::vector<std::string> files;
                for (int f = Pick(3); f > 0; --f) files.push_back(Name() + ".o");
                if (Coin()) files.push_back("All-files");
                group.contents.push_back(
                    sections::SectionItem(Coin() ? "All-sections" : "." + Name(), files));
            }
        }
        if (depth < 2) {
            for (const std::string& label : std::vector<std::string>(labels)) {
                if (Pick(3) != 0 || !sections::LabelItem(label).text.size()) continue;
                bool own = false;
                for (const auto& item : group.contents) own |= item.text == label;
                if (!own) continue;
                sections::SectionGroup child = Group(depth + 1, labels);
                child.placementText = label;
                group.children.push_back(child);
            }
        }
        return group;
    }

    CLinkerModel Model() {
        CLinkerModel m;
        m.m_bSubcommand = Coin();
        m.m_nSubcommandType = Pick(2);
        m.m_strSubcommandFile = Text();
        m.m_listLibDirs = Texts();
        m.m_bGroupLibs = Coin();
        m.m_bFixupLibs = Coin();
        m.m_listLibraries = NonEmptyTexts();
        m.m_listObjects = Texts();
        m.m_listBinaries = Texts();
        for (size_t i = 0; i < m.m_listBinaries.size(); ++i)
            m.m_listBinarySections.push_back(Text());
        for (std::string& name : Texts()) m.m_listSymbols.push_back({std::move(name), Text()});
        m.m_bEntry = Coin();
        m.m_strEntry = Text();
        m.m_nPrelink = Pick(3);
        m.m_nOutputForm = std::vector<int>{0, 1, 3, 4}[static_cast<size_t>(Pick(4))];
        m.m_nSRecord = Pick(4);
        m.m_nHexRecord = Pick(4);
        m.m_bRelocSplit = Coin();
        m.m_strRelocCount = std::to_string(Pick(50));
        for (int n = Pick(3); n > 0; --n) {
            m.m_listRomSections.push_back(Name());
            m.m_listRamSections.push_back(Name());
        }
        m.m_bDivideOutput = Coin();
        m.m_listOutputPieces = Texts();
        for (size_t i = 0; i < m.m_listOutputPieces.size(); ++i)
            m.m_listPieceSections.push_back(Text());
        m.m_strOutputFile = Text();
        m.m_bWarnUnused = Coin();
        m.m_bDataStuff = Coin();
        m.m_bDataStuffMap = Coin();
        m.m_bMapFile = Coin();
        m.m_strMapDir = Coin() ? "$(CONFIGDIR)\\" + Name() : "";
        m.m_strMapName = Name();
        for (bool& show : m.m_aShow) show = Coin();
        m.m_bUseGcc = Coin();
        m.m_bLto = Coin();
        m.m_bObjsOnCmdLine = Coin();
        for (int n = Pick(3); n > 0; --n) {
            std::string start = "0x" + std::to_string(Pick(1000));
            m.m_layout.regions.push_back({Name(), Pick(9), start, start + "FF"});
        }
        std::vector<std::string> labels;
        for (int n = Pick(5); n > 0; --n) m.m_layout.groups.push_back(Group(0, labels));
        for (int n = Pick(3); n > 0; --n) m.m_listForcedSymbols.push_back(Name());
        for (int n = Pick(3); n > 0; --n) m.m_listSuppressedSymbols.push_back(Name());
        m.m_nCpuCheckMode = Pick(3);
        for (int n = Pick(3); n > 0; --n) {
            std::string kind = Coin() ? "ROM" : "RAM";
            std::string start = "0x0000" + std::to_string(1000 + Pick(8999));
            m.m_listCheckAreas.push_back(
                {kind, start, "0x0001" + std::to_string(1000 + Pick(8999))});
        }
        m.m_strCpuInfoFile = Text();
        m.m_strPsCheck = Coin() ? Name() : "";
        for (bool& flag : m.m_aSwitches) flag = Coin();
        m.m_strAppText = Text(30);
        const auto tables = toolchain::CpuTables();
        const auto& table = tables[static_cast<size_t>(Pick(static_cast<int>(tables.size())))];
        m.m_cpu.SetCpuType(
            table.rows[static_cast<size_t>(Pick(static_cast<int>(table.rows.size())))].value);
        m.m_cpu.m_nEndian = Pick(3);
        if (table.familyCode != toolchain::kCodeTamsin16 &&
            table.familyCode != toolchain::kCodeTamsin32)
            for (bool& flag : m.m_cpu.m_aFamilyFlags) flag = Coin();
        m.m_nProjectType = Pick(2);
        m.m_bOptLib = Coin();
        m.m_bProjectIsLibrary = Coin();
        if (Coin()) m.m_listCarried.push_back("B|OPTIMIZE|" + std::to_string(Pick(2)));
        if (Coin()) m.m_listCarried.push_back("S|OUTPUT|\"" + Name() + "\"");
        return m;
    }

  private:
    std::mt19937 rng_;
};

} // namespace

TEST(LinkerRoundTrip, SerializeParseSerializeIsStable) {
    Generator gen(20261206);
    for (int i = 0; i < 400; ++i) {
        CLinkerModel original = gen.Model();
        std::string first = original.Serialize();
        CLinkerModel parsed(first);
        std::string second = parsed.Serialize();
        ASSERT_EQ(second, first) << "model " << i;
        // The texts that a user types come back exactly.
        ASSERT_EQ(parsed.m_listLibraries, original.m_listLibraries) << first;
        ASSERT_EQ(parsed.m_listBinaries, original.m_listBinaries) << first;
        ASSERT_EQ(parsed.m_listBinarySections, original.m_listBinarySections) << first;
        ASSERT_EQ(parsed.m_listSymbols, original.m_listSymbols) << first;
        ASSERT_EQ(parsed.m_listOutputPieces, original.m_listOutputPieces) << first;
        ASSERT_EQ(parsed.m_listPieceSections, original.m_listPieceSections) << first;
        ASSERT_EQ(parsed.m_strAppText, original.m_strAppText) << first;
        ASSERT_EQ(parsed.m_strOutputFile, original.m_strOutputFile) << first;
        ASSERT_EQ(parsed.m_layout, original.m_layout) << first;
        ASSERT_EQ(parsed.m_listForcedSymbols, original.m_listForcedSymbols) << first;
    }
}
