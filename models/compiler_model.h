// The compiler options model: one object per Compiler-phase option string.
// Most options are small integers indexing constant key tables (see
// compiler_keys.h); reading matches whole tokens against the tables and
// writing emits the entry at the field's value, so defaults write nothing.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "models/cpu_options.h"
#include "models/model_base.h"
#include "models/path_parts.h"

namespace quorle::models {

inline constexpr int kWarnGroup1Count = 13;
inline constexpr int kWarnGroup2Count = 18;
inline constexpr int kListContentCount = 5;
inline constexpr int kOtherFlagCount = 55;
inline constexpr int kSectionKindCount = 5; // program, constant, data, bss, run
inline constexpr int kAbsClass32 = 3;       // classes 0..3: 16, 20, 28, 32 bit

enum CompilerLanguage : int { kLangC = 0, kLangCpp = 1, kLangPreproAsm = 2 };
enum CompilerOutput : int {
    kOutObject = 0,
    kOutAsmCode = 1,
    kOutPreprocessor = 2,
    kOutPreprocessorNoLine = 3,
};

class CCompilerModel : public CModelBase {
  public:
    CCompilerModel();
    // The file-type name decides the language mode; the string is then read.
    CCompilerModel(std::string_view fileType, std::string_view optionString);
    // The dependency scan's form; the path itself is not kept.
    CCompilerModel(std::string_view filePath, std::string_view fileType,
                   std::string_view optionString)
        : CCompilerModel(fileType, optionString) {
        static_cast<void>(filePath);
    }
    // From an option string alone (no file type, so the language is C).
    static CCompilerModel FromOptions(std::string_view optionString) {
        return CCompilerModel(std::string_view{}, optionString);
    }
    // From the host's file entry "path|file-type name".
    static CCompilerModel FromFileEntry(std::string_view fileEntry, std::string_view optionString);

    // Language mode of a file-type name.
    static int LanguageOf(std::string_view fileType);

    // Setters with side effects on the file extensions.
    void SetOutputKind(int kind);
    void SetLanguage(int language);
    // Replaces "\include" by "\optlibinc" (or back) in toolchain header
    // directories, by the optimised-library setting.
    void SwitchToolchainHeaderDirs();
    // Directory of the output file, created before the compiler runs.
    std::string OutputDirectory() const { return m_objPath.dir; }
    // Address class of a section kind as it is written: the 20-bit and 28-bit
    // classes fold into the 32-bit class unless the CPU type is the fourth or
    // fifth row of its table.
    int EffectiveAbsClass(int kind) const;
    // True when all thirteen group-1 warnings are on.
    bool AllGroup1Warnings() const;

    bool operator==(const CCompilerModel&) const = default;

    // Language and file.
    int m_nLanguage = kLangC;
    std::string m_strFileType;
    int m_nProjectType = 0;
    int m_nOptLib = 0;
    int m_nChgIncPath = 0;
    // Source.
    std::vector<std::string> m_lstIncDirs;
    std::vector<std::string> m_lstPreIncludes;
    std::vector<std::string> m_lstDefines;
    std::vector<std::string> m_lstFileInlinePaths;
    int m_nWInhibit = 0;
    std::array<bool, kWarnGroup1Count> m_aWarn1{};
    std::array<bool, kWarnGroup2Count> m_aWarn2{};
    // Object.
    int m_nOutput = kOutObject;
    PathParts m_objPath;
    int m_nDebug = 1;
    int m_nDebugLevel = 2;
    int m_nDebugFormat = 0;
    // List.
    int m_nListing = 0;
    PathParts m_listPath;
    std::array<bool, kListContentCount> m_aListContents{};
    // Optimize.
    int m_nOptimize = 1;
    int m_nOptLevel = 2;
    int m_nLto = 0;
    int m_nMap = 0; // 0 none, 1 "B|SMAP|1", 2 "B|MAP|1"
    PathParts m_mapPath;
    int m_nOptimizeOld = 1; // read only
    int m_nGOptimize = 0;   // read only
    // Other.
    std::array<bool, kOtherFlagCount> m_aOther{};
    std::string m_strUserOptions;
    // CPU.
    CpuOptions m_cpu;
    // Host-compiler keys; -1 means not set.
    std::array<std::string, 4> m_aSectionNames{"P", "C", "D", "B"};
    int m_nStringData = 0;
    int m_nTemplate = -1;
    std::string m_strAssembly;
    std::array<int, kSectionKindCount> m_aAbsClass{kAbsClass32, kAbsClass32, kAbsClass32,
                                                   kAbsClass32, kAbsClass32};
    int m_nDivision = -1;
    int m_nNoLine = 0;
    int m_nIFunc = 0;
    int m_nAlign = -1; // 0 "4", 1 "16", 2 "32"
    int m_nAlign4Scope = 0;
    std::array<bool, 3> m_aStuff{}; // const, data, bss
    int m_nStuffGbr = 0;
    int m_nCpuDivision = -1;
    int m_nFpu = -1;
    int m_nRound = -1;
    int m_nCppNoInline = 0;
    int m_nCase = -1;
    int m_nShift = -1;
    int m_nBlockCopy = -1;
    int m_nUnaligned = -1;
    int m_nSoftPipe = 0;
    std::vector<std::string> m_lstFileInline;
    // The form SwitchToolchainHeaderDirs last produced: 1 optlibinc, 0 include.
    int m_nHeaderForm = 0;

  protected:
    void ResetFields() override;
    void AfterRead() override;
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;

  private:
    struct NoReset {};
    // Member defaults only; ResetFields starts from such an object.
    explicit CCompilerModel(NoReset) : CModelBase(kPhaseCompiler) {}
    void WriteSource(std::string& out) const;
    void WriteObject(std::string& out) const;
    void WriteList(std::string& out) const;
    void WriteOptimize(std::string& out) const;
    void WriteOther(std::string& out) const;
    void WriteCpu(std::string& out) const;
};

// Output-file extension for an output kind and language mode.
std::string_view CompilerOutputExtension(int outputKind, int language);
// List-file extension for a language mode.
std::string_view CompilerListExtension(int language);

} // namespace quorle::models
