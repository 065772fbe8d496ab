// Property tests: models with random fields survive write and read, and
// writing is idempotent.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/generator_model.h"
#include "options/option_string.h"
#include "toolchain/cpu_table.h"

namespace quorle::models {
namespace {

class Gen {
  public:
    explicit Gen(uint32_t seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Bool() { return Int(0, 1) == 1; }

    // Free text: quotes, closing brackets, blanks, bars and the like.
    std::string Text(bool allowBar, int maxLen = 12) {
        static const std::string kChars = "ab\\/.$()\"] \t|[=,xyz0!\xe9~";
        std::string s;
        int n = Int(0, maxLen);
        for (int i = 0; i < n; ++i) {
            char c = kChars[static_cast<size_t>(Int(0, static_cast<int>(kChars.size()) - 1))];
            if (c == '|' && !allowBar) c = 'q';
            s += c;
        }
        return s;
    }
    // List entries are cut at "|" when read, so they never hold one, and an
    // empty entry carries nothing.
    std::vector<std::string> List() {
        std::vector<std::string> list;
        int n = Int(0, 3);
        for (int i = 0; i < n; ++i) {
            std::string e = Text(false);
            if (e.empty()) e = "e";
            list.push_back(e);
        }
        return list;
    }
    PathParts Path() { return PathParts::Split(Text(true)); }
    template <size_t N> void Flags(std::array<bool, N>& flags) {
        for (bool& f : flags) f = Bool();
    }

    CpuOptions Cpu(bool zentaNumbers) {
        CpuOptions cpu;
        const int codes[] = {100, 101, 102, 103, 104, 105};
        cpu.familyCode_ = codes[Int(0, 5)];
        int rows = toolchain::CpuRowCount(cpu.familyCode_);
        cpu.cpuType_ = rows > 0 ? Int(0, rows - 1) : 0;
        cpu.endian_ = Int(0, 1);
        int flagCount = static_cast<int>(toolchain::FamilyOptions(cpu.familyCode_).size());
        for (int i = 0; i < flagCount; ++i) cpu.familyFlags_[static_cast<size_t>(i)] = Bool();
        if (cpu.familyCode_ == 104 && zentaNumbers) {
            cpu.intRegisters_ = Int(-5, 100000);
            cpu.maxConstSize_ = Int(0, 3);
            cpu.smallDataEnabled_ = Bool();
            cpu.smallDataLimit_ = Int(0, 65536);
        }
        return cpu;
    }

  private:
    std::mt19937 rng_;
};

CompilerModel RandomCompiler(Gen& g) {
    CompilerModel m("C source file", "");
    m.language_ = g.Int(0, 2);
    m.projectType_ = g.Int(0, 2);
    m.optLib_ = g.Int(0, 1);
    m.chgIncPath_ = g.Int(0, 1);
    m.incDirs_ = g.List();
    m.preIncludes_ = g.List();
    m.defines_ = g.List();
    m.fileInlinePaths_ = g.List();
    m.wInhibit_ = g.Int(0, 1);
    g.Flags(m.warn1_);
    if (g.Int(0, 3) == 0) m.warn1_.fill(true);
    g.Flags(m.warn2_);
    m.output_ = g.Int(0, 3);
    m.objPath_ = g.Path();
    m.debug_ = g.Int(0, 1);
    m.debugLevel_ = g.Int(0, 2);
    m.debugFormat_ = g.Int(0, 7);
    m.listing_ = g.Int(0, 1);
    if (m.listing_ == 1) m.listPath_ = g.Path();
    g.Flags(m.listContents_);
    m.optimize_ = g.Int(0, 1);
    m.optLevel_ = g.Int(0, 2);
    m.lto_ = g.Int(0, 1);
    m.map_ = g.Int(0, 2);
    if (m.map_ == 2) m.mapPath_ = g.Path();
    g.Flags(m.other_);
    m.userOptions_ = g.Text(true);
    m.cpu_ = g.Cpu(true);
    for (std::string& name : m.sectionNames_)
        if (g.Bool()) name = g.Text(false);
    m.stringData_ = g.Int(0, 1);
    m.template_ = g.Int(-1, 3);
    m.assembly_ = g.Text(true);
    for (int& cls : m.absClass_) cls = g.Int(0, 3);
    // Only the classes that survive the folding come back.
    for (int k = 0; k < kSectionKindCount; ++k)
        m.absClass_[static_cast<size_t>(k)] = m.EffectiveAbsClass(k);
    m.division_ = g.Int(-1, 1);
    m.noLine_ = g.Int(0, 1);
    m.iFunc_ = g.Int(0, 1);
    m.align_ = g.Int(-1, 2);
    m.align4Scope_ = g.Int(0, 2);
    g.Flags(m.stuff_);
    m.stuffGbr_ = g.Int(0, 1);
    m.cpuDivision_ = g.Int(-1, 1);
    m.fpu_ = g.Int(-1, 1);
    m.round_ = g.Int(-1, 0);
    m.cppNoInline_ = g.Int(0, 1);
    m.case_ = g.Int(-1, 1);
    m.shift_ = g.Int(-1, 1);
    m.blockCopy_ = g.Int(-1, 1);
    m.unaligned_ = g.Int(-1, 1);
    m.softPipe_ = g.Int(0, 1);
    m.fileInline_ = g.List();
    m.skipDependency_ = g.Bool();
    m.dependScan_ = g.Bool();
    m.mapBatch_ = g.Bool();
    return m;
}

TEST(RoundTrip, CompilerModels) {
    Gen g(12345);
    for (int i = 0; i < 400; ++i) {
        CompilerModel m = RandomCompiler(g);
        std::string written = m.Write();
        CompilerModel back("C source file", written);
        ASSERT_EQ(back, m) << written;
        ASSERT_EQ(back.Write(), written);
        // The path texts compare as written.
        ASSERT_EQ(back.objPath_.Join(), m.objPath_.Join());
    }
}

TEST(RoundTrip, AssemblerModels) {
    Gen g(777);
    for (int i = 0; i < 400; ++i) {
        AssemblerModel m("");
        CpuOptions cpu = g.Cpu(false);
        if (toolchain::CpuRowCount(cpu.familyCode_) > 0) {
            m.familyCode_ = cpu.familyCode_;
            m.cpuType_ = cpu.cpuType_;
        }
        m.endian_ = g.Int(0, 2);
        m.round_ = g.Int(0, 2);
        m.denormal_ = g.Int(0, 2);
        if (!FamilyFlagKeys(m.familyCode_).empty()) {
            m.targetFlags_ = cpu.familyFlags_;
            m.flagKeyFamily_ = g.Bool() ? m.familyCode_ : 105;
        }
        m.maxVarsFlag_ = g.Int(0, 1);
        m.intRegVal_ = g.Int(-3, 1000);
        m.maxConstVal_ = g.Int(0, 3);
        m.maxVarsVal_ = g.Int(0, 99999);
        m.incDirs_ = g.List();
        m.defines_ = g.List();
        m.assigns_ = g.List();
        // Written grouped by content: entries with a quote first.
        std::stable_partition(m.assigns_.begin(), m.assigns_.end(), [](const std::string& a) {
            return a.find('"') != std::string::npos;
        });
        m.inCode_ = g.Int(-1, 2);
        m.debugLevel_ = g.Int(0, 2);
        m.genObj_ = g.Int(0, 1);
        m.foldSec_ = g.Int(0, 1);
        m.objPath_ = g.Path();
        m.outCode_ = g.Int(-1, 1);
        m.dispSize_ = g.Int(-1, 1);
        m.listing_ = g.Int(0, 1);
        g.Flags(m.listContents_);
        if (g.Bool()) m.listPath_ = g.Path();
        m.source_ = g.Int(0, 2);
        g.Flags(m.switches_);
        m.extra_ = g.Text(true);
        m.errorPath_ = g.Int(0, 1);
        m.chgIncPath_ = g.Int(0, 1);
        m.projectType_ = g.Int(-1, 2);
        for (int& s : m.show_) s = g.Int(0, 2);
        m.showTab_ = g.Int(0, 1);
        m.crossRef_ = g.Int(0, 2);
        m.listSection_ = g.Int(0, 2);
        m.dependScan_ = g.Bool();

        std::string written = m.Write();
        AssemblerModel back(written);
        // Which key set carried the flags is not part of the value.
        back.flagKeyFamily_ = m.flagKeyFamily_;
        ASSERT_EQ(back, m) << written;
        ASSERT_EQ(AssemblerModel(back.Write()).Write(), back.Write());
    }
}

TEST(RoundTrip, GeneratorModels) {
    Gen g(4242);
    for (int i = 0; i < 400; ++i) {
        GeneratorModel m("");
        m.mode_ = g.Int(0, 1);
        m.build_ = g.Int(0, 1);
        m.optLib_ = g.Int(0, 1);
        m.noPrebuilt_ = g.Int(0, 1);
        m.output_ = g.Text(true);
        g.Flags(m.headers_);
        m.optimize_ = g.Int(0, 1);
        m.optType_ = g.Int(0, 2);
        g.Flags(m.flags_);
        m.userCompiler_ = g.Text(true);
        m.userAssembler_ = g.Text(true);
        m.cpu_ = g.Cpu(true);
        m.skipDependency_ = g.Bool();
        std::string written = m.Write();
        GeneratorModel back(written);
        ASSERT_EQ(back, m) << written;
        ASSERT_EQ(back.Write(), written);
    }
}

TEST(RoundTrip, TokenBodiesMatchTheSharedHelper) {
    Gen g(99);
    for (int i = 0; i < 500; ++i) {
        std::string text;
        int n = g.Int(0, 6);
        for (int t = 0; t < n; ++t)
            text += "[" + g.Text(true, 10) + "]" + (g.Bool() ? " " : "\t\r\n");
        std::vector<std::string> ours;
        ForEachTokenBody(text, [&ours](std::string_view body) { ours.emplace_back(body); });
        ASSERT_EQ(ours, options::ReadTokenBodies(text)) << text;
    }
}

// The collapsing rule spelled out plainly, one pass per character of the set.
std::string ReferenceUnescape(std::string text, std::string_view set) {
    for (char c : set) {
        std::string next;
        for (size_t i = 0; i < text.size();) {
            if (text[i] == c && i + 1 < text.size() && (text[i + 1] == c || text[i + 1] == '"')) {
                next += text[i + 1];
                i += 2;
            } else {
                next += text[i++];
            }
        }
        text = next;
    }
    return text;
}

TEST(RoundTrip, UnescapeMatchesThePlainRule) {
    Gen g(2024);
    for (int i = 0; i < 2000; ++i) {
        std::string text = g.Text(true, 16);
        ASSERT_EQ(options::Unescape(text), ReferenceUnescape(text, options::kEscapeSet)) << text;
        ASSERT_EQ(options::Unescape(text, "]"), ReferenceUnescape(text, "]")) << text;
    }
}

TEST(RoundTrip, WritingIsIdempotentForHandWrittenStrings) {
    const char* strings[] = {
        "[V|VERSION|2] [B|DEBUG|1] [S|OBJPATH|\"$(CONFIGDIR)\\$(FILELEAF).o\"] [B|LIST|0] "
        "[B|CHGINCPATH|1]",
        "[S|OBJPATH|\"a\"] [S|OBJPATH|\"b]]c\"] [S|INCDIR|\"x y\"|\"z\"\"q\"] [B|WALL|1]",
        "[S|APPTXT|\"-O1 \"\"a|b\"\"\"] [S|CPUTYPE|PK3] [B|HMNORMAL|1] [B|SMAP|1]",
    };
    for (const char* s : strings) {
        std::string once = CompilerModel("C source file", s).Write();
        EXPECT_EQ(CompilerModel("C source file", once).Write(), once);
        std::string asmOnce = AssemblerModel(s).Write();
        EXPECT_EQ(AssemblerModel(asmOnce).Write(), asmOnce);
        std::string genOnce = GeneratorModel(s).Write();
        EXPECT_EQ(GeneratorModel(genOnce).Write(), genOnce);
    }
}

} // namespace
} // namespace quorle::models

// The Zenta limits are written for Zenta only. Read for another family they
// must not stay in the model, or a save would drop what the model holds.
TEST(ModelRoundTrip, ZentaLimitsOfAnotherFamilyAreNotKept) {
    const std::string limits =
        "[V|VERSION|2] [I|RMINTREGVAL|3] [B|RMMAXVARSVAL|1] [I|RMMAXVARSVAL|9]";
    quorle::models::CompilerModel compiler("C source file", limits);
    EXPECT_EQ(compiler.cpu_.smallDataLimit_, 0);
    EXPECT_FALSE(compiler.cpu_.smallDataEnabled_);
    EXPECT_TRUE(compiler == quorle::models::CompilerModel("C source file", compiler.Write()));
    quorle::models::GeneratorModel generator(limits);
    EXPECT_EQ(generator.cpu_.intRegisters_, 0);
    EXPECT_TRUE(generator == quorle::models::GeneratorModel(generator.Write()));
}
