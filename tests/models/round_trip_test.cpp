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
        cpu.m_nFamilyCode = codes[Int(0, 5)];
        int rows = toolchain::CpuRowCount(cpu.m_nFamilyCode);
        cpu.m_nCpuType = rows > 0 ? Int(0, rows - 1) : 0;
        cpu.m_nEndian = Int(0, 1);
        int flagCount = static_cast<int>(toolchain::FamilyOptions(cpu.m_nFamilyCode).size());
        for (int i = 0; i < flagCount; ++i) cpu.m_aFamilyFlags[static_cast<size_t>(i)] = Bool();
        if (cpu.m_nFamilyCode == 104 && zentaNumbers) {
            cpu.m_nIntRegisters = Int(-5, 100000);
            cpu.m_nMaxConstSize = Int(0, 3);
            cpu.m_bSmallDataEnabled = Bool();
            cpu.m_nSmallDataLimit = Int(0, 65536);
        }
        return cpu;
    }

  private:
    std::mt19937 rng_;
};

CCompilerModel RandomCompiler(Gen& g) {
    CCompilerModel m("C source file", "");
    m.m_nLanguage = g.Int(0, 2);
    m.m_nProjectType = g.Int(0, 2);
    m.m_nOptLib = g.Int(0, 1);
    m.m_nChgIncPath = g.Int(0, 1);
    m.m_lstIncDirs = g.List();
    m.m_lstPreIncludes = g.List();
    m.m_lstDefines = g.List();
    m.m_lstFileInlinePaths = g.List();
    m.m_nWInhibit = g.Int(0, 1);
    g.Flags(m.m_aWarn1);
    if (g.Int(0, 3) == 0) m.m_aWarn1.fill(true);
    g.Flags(m.m_aWarn2);
    m.m_nOutput = g.Int(0, 3);
    m.m_objPath = g.Path();
    m.m_nDebug = g.Int(0, 1);
    m.m_nDebugLevel = g.Int(0, 2);
    m.m_nDebugFormat = g.Int(0, 7);
    m.m_nListing = g.Int(0, 1);
    if (m.m_nListing == 1) m.m_listPath = g.Path();
    g.Flags(m.m_aListContents);
    m.m_nOptimize = g.Int(0, 1);
    m.m_nOptLevel = g.Int(0, 2);
    m.m_nLto = g.Int(0, 1);
    m.m_nMap = g.Int(0, 2);
    if (m.m_nMap == 2) m.m_mapPath = g.Path();
    g.Flags(m.m_aOther);
    m.m_strUserOptions = g.Text(true);
    m.m_cpu = g.Cpu(true);
    for (std::string& name : m.m_aSectionNames)
        if (g.Bool()) name = g.Text(false);
    m.m_nStringData = g.Int(0, 1);
    m.m_nTemplate = g.Int(-1, 3);
    m.m_strAssembly = g.Text(true);
    for (int& cls : m.m_aAbsClass) cls = g.Int(0, 3);
    // Only the classes that survive the folding come back.
    for (int k = 0; k < kSectionKindCount; ++k)
        m.m_aAbsClass[static_cast<size_t>(k)] = m.EffectiveAbsClass(k);
    m.m_nDivision = g.Int(-1, 1);
    m.m_nNoLine = g.Int(0, 1);
    m.m_nIFunc = g.Int(0, 1);
    m.m_nAlign = g.Int(-1, 2);
    m.m_nAlign4Scope = g.Int(0, 2);
    g.Flags(m.m_aStuff);
    m.m_nStuffGbr = g.Int(0, 1);
    m.m_nCpuDivision = g.Int(-1, 1);
    m.m_nFpu = g.Int(-1, 1);
    m.m_nRound = g.Int(-1, 0);
    m.m_nCppNoInline = g.Int(0, 1);
    m.m_nCase = g.Int(-1, 1);
    m.m_nShift = g.Int(-1, 1);
    m.m_nBlockCopy = g.Int(-1, 1);
    m.m_nUnaligned = g.Int(-1, 1);
    m.m_nSoftPipe = g.Int(0, 1);
    m.m_lstFileInline = g.List();
    m.m_bSkipDependency = g.Bool();
    m.m_bDependScan = g.Bool();
    m.m_bMapBatch = g.Bool();
    return m;
}

TEST(RoundTrip, CompilerModels) {
    Gen g(12345);
    for (int i = 0; i < 400; ++i) {
        CCompilerModel m = RandomCompiler(g);
        std::string written = m.Write();
        CCompilerModel back("C source file", written);
        ASSERT_EQ(back, m) << written;
        ASSERT_EQ(back.Write(), written);
        // The path texts compare as written.
        ASSERT_EQ(back.m_objPath.Join(), m.m_objPath.Join());
    }
}

TEST(RoundTrip, AssemblerModels) {
    Gen g(777);
    for (int i = 0; i < 400; ++i) {
        CAssemblerModel m("");
        CpuOptions cpu = g.Cpu(false);
        if (toolchain::CpuRowCount(cpu.m_nFamilyCode) > 0) {
            m.m_nFamilyCode = cpu.m_nFamilyCode;
            m.m_nCpuType = cpu.m_nCpuType;
        }
        m.m_nEndian = g.Int(0, 2);
        m.m_nRound = g.Int(0, 2);
        m.m_nDenormal = g.Int(0, 2);
        if (!FamilyFlagKeys(m.m_nFamilyCode).empty()) {
            m.m_aTargetFlags = cpu.m_aFamilyFlags;
            m.m_nFlagKeyFamily = g.Bool() ? m.m_nFamilyCode : 105;
        }
        m.m_nMaxVarsFlag = g.Int(0, 1);
        m.m_nIntRegVal = g.Int(-3, 1000);
        m.m_nMaxConstVal = g.Int(0, 3);
        m.m_nMaxVarsVal = g.Int(0, 99999);
        m.m_lstIncDirs = g.List();
        m.m_lstDefines = g.List();
        m.m_lstAssigns = g.List();
        // Written grouped by content: entries with a quote first.
        std::stable_partition(
            m.m_lstAssigns.begin(), m.m_lstAssigns.end(),
            [](const std::string& a) { return a.find('"') != std::string::npos; });
        m.m_nInCode = g.Int(-1, 2);
        m.m_nDebugLevel = g.Int(0, 2);
        m.m_nGenObj = g.Int(0, 1);
        m.m_nFoldSec = g.Int(0, 1);
        m.m_objPath = g.Path();
        m.m_nOutCode = g.Int(-1, 1);
        m.m_nDispSize = g.Int(-1, 1);
        m.m_nListing = g.Int(0, 1);
        g.Flags(m.m_aListContents);
        if (g.Bool()) m.m_listPath = g.Path();
        m.m_nSource = g.Int(0, 2);
        g.Flags(m.m_aSwitches);
        m.m_strExtra = g.Text(true);
        m.m_nErrorPath = g.Int(0, 1);
        m.m_nChgIncPath = g.Int(0, 1);
        m.m_nProjectType = g.Int(-1, 2);
        for (int& s : m.m_aShow) s = g.Int(0, 2);
        m.m_nShowTab = g.Int(0, 1);
        m.m_nCrossRef = g.Int(0, 2);
        m.m_nListSection = g.Int(0, 2);
        m.m_bDependScan = g.Bool();

        std::string written = m.Write();
        CAssemblerModel back(written);
        // Which key set carried the flags is not part of the value.
        back.m_nFlagKeyFamily = m.m_nFlagKeyFamily;
        ASSERT_EQ(back, m) << written;
        ASSERT_EQ(CAssemblerModel(back.Write()).Write(), back.Write());
    }
}

TEST(RoundTrip, GeneratorModels) {
    Gen g(4242);
    for (int i = 0; i < 400; ++i) {
        CGeneratorModel m("");
        m.m_nMode = g.Int(0, 1);
        m.m_nBuild = g.Int(0, 1);
        m.m_nOptLib = g.Int(0, 1);
        m.m_nNoPrebuilt = g.Int(0, 1);
        m.m_strOutput = g.Text(true);
        g.Flags(m.m_aHeaders);
        m.m_nOptimize = g.Int(0, 1);
        m.m_nOptType = g.Int(0, 2);
        g.Flags(m.m_aFlags);
        m.m_strUserCompiler = g.Text(true);
        m.m_strUserAssembler = g.Text(true);
        m.m_cpu = g.Cpu(true);
        m.m_bSkipDependency = g.Bool();
        std::string written = m.Write();
        CGeneratorModel back(written);
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
        std::string once = CCompilerModel("C source file", s).Write();
        EXPECT_EQ(CCompilerModel("C source file", once).Write(), once);
        std::string asmOnce = CAssemblerModel(s).Write();
        EXPECT_EQ(CAssemblerModel(asmOnce).Write(), asmOnce);
        std::string genOnce = CGeneratorModel(s).Write();
        EXPECT_EQ(CGeneratorModel(genOnce).Write(), genOnce);
    }
}

} // namespace
} // namespace quorle::models

// The Zenta limits are written for Zenta only. Read for another family they
// must not stay in the model, or a save would drop what the model holds.
TEST(ModelRoundTrip, ZentaLimitsOfAnotherFamilyAreNotKept) {
    const std::string limits = "[V|VERSION|2] [I|RMINTREGVAL|3] [B|RMMAXVARSVAL|1] [I|RMMAXVARSVAL|9]";
    quorle::models::CCompilerModel compiler("C source file", limits);
    EXPECT_EQ(compiler.m_cpu.m_nSmallDataLimit, 0);
    EXPECT_FALSE(compiler.m_cpu.m_bSmallDataEnabled);
    EXPECT_TRUE(compiler == quorle::models::CCompilerModel("C source file", compiler.Write()));
    quorle::models::CGeneratorModel generator(limits);
    EXPECT_EQ(generator.m_cpu.m_nIntRegisters, 0);
    EXPECT_TRUE(generator == quorle::models::CGeneratorModel(generator.Write()));
}
