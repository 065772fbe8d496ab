// serialize(parse(serialize(m))) == serialize(m) over generated models whose
// free texts hold quotes, bars, stars, parentheses, brackets and blanks.
#include <gtest/gtest.h>

#include <random>

#include "models/linker_model.h"
#include "toolchain/cpu_table.h"

using quorle::models::LinkerModel;
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

    LinkerModel Model() {
        LinkerModel m;
        m.subcommand_ = Coin();
        m.subcommandType_ = Pick(2);
        m.subcommandFile_ = Text();
        m.libDirs_ = Texts();
        m.groupLibs_ = Coin();
        m.fixupLibs_ = Coin();
        m.libraries_ = NonEmptyTexts();
        m.objects_ = Texts();
        m.binaries_ = Texts();
        for (size_t i = 0; i < m.binaries_.size(); ++i) m.binarySections_.push_back(Text());
        for (std::string& name : Texts()) m.symbols_.push_back({std::move(name), Text()});
        m.entryOn_ = Coin();
        m.entry_ = Text();
        m.prelink_ = Pick(3);
        m.outputForm_ = std::vector<int>{0, 1, 3, 4}[static_cast<size_t>(Pick(4))];
        m.sRecord_ = Pick(4);
        m.hexRecord_ = Pick(4);
        m.relocSplit_ = Coin();
        m.relocCount_ = std::to_string(Pick(50));
        for (int n = Pick(3); n > 0; --n) {
            m.romSections_.push_back(Name());
            m.ramSections_.push_back(Name());
        }
        m.divideOutput_ = Coin();
        m.outputPieces_ = Texts();
        for (size_t i = 0; i < m.outputPieces_.size(); ++i) m.pieceSections_.push_back(Text());
        m.outputFile_ = Text();
        m.warnUnused_ = Coin();
        m.dataStuff_ = Coin();
        m.dataStuffMap_ = Coin();
        m.mapFile_ = Coin();
        m.mapDir_ = Coin() ? "$(CONFIGDIR)\\" + Name() : "";
        m.mapName_ = Name();
        for (bool& show : m.show_) show = Coin();
        m.useGcc_ = Coin();
        m.lto_ = Coin();
        m.objsOnCmdLine_ = Coin();
        for (int n = Pick(3); n > 0; --n) {
            std::string start = "0x" + std::to_string(Pick(1000));
            m.layout_.regions.push_back({Name(), Pick(9), start, start + "FF"});
        }
        std::vector<std::string> labels;
        for (int n = Pick(5); n > 0; --n) m.layout_.groups.push_back(Group(0, labels));
        for (int n = Pick(3); n > 0; --n) m.forcedSymbols_.push_back(Name());
        for (int n = Pick(3); n > 0; --n) m.suppressedSymbols_.push_back(Name());
        m.cpuCheckMode_ = Pick(3);
        for (int n = Pick(3); n > 0; --n) {
            std::string kind = Coin() ? "ROM" : "RAM";
            std::string start = "0x0000" + std::to_string(1000 + Pick(8999));
            m.checkAreas_.push_back({kind, start, "0x0001" + std::to_string(1000 + Pick(8999))});
        }
        m.cpuInfoFile_ = Text();
        m.psCheck_ = Coin() ? Name() : "";
        for (bool& flag : m.switches_) flag = Coin();
        m.appText_ = Text(30);
        const auto tables = toolchain::CpuTables();
        const auto& table = tables[static_cast<size_t>(Pick(static_cast<int>(tables.size())))];
        m.cpu_.SetCpuType(
            table.rows[static_cast<size_t>(Pick(static_cast<int>(table.rows.size())))].value);
        m.cpu_.endian_ = Pick(3);
        if (table.familyCode != toolchain::kCodeTamsin16 &&
            table.familyCode != toolchain::kCodeTamsin32)
            for (bool& flag : m.cpu_.familyFlags_) flag = Coin();
        m.projectType_ = Pick(2);
        m.optLib_ = Coin();
        m.projectIsLibrary_ = Coin();
        std::vector<std::string> carried;
        if (Coin()) carried.push_back("B|OPTIMIZE|" + std::to_string(Pick(2)));
        if (Coin()) carried.push_back("S|OUTPUT|\"" + Name() + "\"");
        m.SetCarried(std::move(carried));
        return m;
    }

  private:
    std::mt19937 rng_;
};

} // namespace

TEST(LinkerRoundTrip, SerializeParseSerializeIsStable) {
    Generator gen(20261206);
    for (int i = 0; i < 400; ++i) {
        LinkerModel original = gen.Model();
        std::string first = original.Serialize();
        LinkerModel parsed(first);
        std::string second = parsed.Serialize();
        ASSERT_EQ(second, first) << "model " << i;
        // The texts that a user types come back exactly.
        ASSERT_EQ(parsed.libraries_, original.libraries_) << first;
        ASSERT_EQ(parsed.binaries_, original.binaries_) << first;
        ASSERT_EQ(parsed.binarySections_, original.binarySections_) << first;
        ASSERT_EQ(parsed.symbols_, original.symbols_) << first;
        ASSERT_EQ(parsed.outputPieces_, original.outputPieces_) << first;
        ASSERT_EQ(parsed.pieceSections_, original.pieceSections_) << first;
        ASSERT_EQ(parsed.appText_, original.appText_) << first;
        ASSERT_EQ(parsed.outputFile_, original.outputFile_) << first;
        ASSERT_EQ(parsed.layout_, original.layout_) << first;
        ASSERT_EQ(parsed.forcedSymbols_, original.forcedSymbols_) << first;
    }
}
