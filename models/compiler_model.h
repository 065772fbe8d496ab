// The compiler options model: one object per Compiler-phase option string.
// Most options are small integers indexing constant key tables (see
// compiler_keys.h); reading matches whole tokens against the tables and
// writing emits the entry at the field's value, so defaults write nothing.
#pragma once

#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "models/compiler_keys.h"
#include "models/cpu_options.h"
#include "models/model_base.h"
#include "models/path_parts.h"

namespace quorle::models {

inline constexpr int kWarnGroup1Count = static_cast<int>(std::size(compiler_keys::kWarn1Options));
inline constexpr int kWarnGroup2Count = static_cast<int>(std::size(compiler_keys::kWarn2Options));
inline constexpr int kListContentCount = static_cast<int>(std::size(kListContentOptions));
inline constexpr int kOtherFlagCount = static_cast<int>(std::size(compiler_keys::kOtherOptions));
inline constexpr int kSectionKindCount = 5; // program, constant, data, bss, run
inline constexpr int kAbsClass32 = 3;       // classes 0..3: 16, 20, 28, 32 bit

enum CompilerLanguage : int { kLangC = 0, kLangCpp = 1, kLangPreproAsm = 2 };
enum CompilerOutput : int {
    kOutObject = 0,
    kOutAsmCode = 1,
    kOutPreprocessor = 2,
    kOutPreprocessorNoLine = 3,
};

// Every field a reset restores, with its default (the file type is kept).
struct CompilerFields {
    // Language and file.
    int language_ = kLangC;
    std::string fileType_;
    int projectType_ = 0;
    int optLib_ = 0;
    int chgIncPath_ = 0;
    // Source.
    std::vector<std::string> incDirs_;
    std::vector<std::string> preIncludes_;
    std::vector<std::string> defines_;
    std::vector<std::string> fileInlinePaths_;
    int wInhibit_ = 0;
    std::array<bool, kWarnGroup1Count> warn1_{};
    std::array<bool, kWarnGroup2Count> warn2_{};
    // Object.
    int output_ = kOutObject;
    PathParts objPath_;
    int debug_ = 1;
    int debugLevel_ = 2;
    int debugFormat_ = 0;
    // List.
    int listing_ = 0;
    PathParts listPath_;
    std::array<bool, kListContentCount> listContents_{};
    // Optimize.
    int optimize_ = 1;
    int optLevel_ = 2;
    int lto_ = 0;
    int map_ = 0; // 0 none, 1 "B|SMAP|1", 2 "B|MAP|1"
    PathParts mapPath_;
    int optimizeOld_ = 1; // read only
    int gOptimize_ = 0;   // read only
    // Other.
    std::array<bool, kOtherFlagCount> other_{};
    std::string userOptions_;
    // CPU.
    CpuOptions cpu_;
    // Host-compiler keys; -1 means not set.
    std::array<std::string, 4> sectionNames_{"P", "C", "D", "B"};
    int stringData_ = 0;
    int template_ = -1;
    std::string assembly_;
    std::array<int, kSectionKindCount> absClass_{kAbsClass32, kAbsClass32, kAbsClass32, kAbsClass32,
                                                 kAbsClass32};
    int division_ = -1;
    int noLine_ = 0;
    int iFunc_ = 0;
    int align_ = -1; // 0 "4", 1 "16", 2 "32"
    int align4Scope_ = 0;
    std::array<bool, 3> stuff_{}; // const, data, bss
    int stuffGbr_ = 0;
    int cpuDivision_ = -1;
    int fpu_ = -1;
    int round_ = -1;
    int cppNoInline_ = 0;
    int case_ = -1;
    int shift_ = -1;
    int blockCopy_ = -1;
    int unaligned_ = -1;
    int softPipe_ = 0;
    std::vector<std::string> fileInline_;
    // The form SwitchToolchainHeaderDirs last produced: 1 optlibinc, 0 include.
    int headerForm_ = 0;

    bool operator==(const CompilerFields&) const = default;
};

class CompilerModel : public ModelBase, public CompilerFields {
  public:
    // Every key table the reader recognises; a token whose key is not in
    // it is not read.
    static const KeyRegistry& ReadKeys();

    CompilerModel();
    // The file-type name decides the language mode; the string is then read.
    CompilerModel(std::string_view fileType, std::string_view optionString);
    // The dependency scan's form; the path itself is not kept.
    CompilerModel(std::string_view filePath, std::string_view fileType,
                  std::string_view optionString)
        : CompilerModel(fileType, optionString) {
        static_cast<void>(filePath);
    }
    // From an option string alone (no file type, so the language is C).
    static CompilerModel FromOptions(std::string_view optionString) {
        return CompilerModel(std::string_view{}, optionString);
    }
    // From the host's file entry "path|file-type name".
    static CompilerModel FromFileEntry(std::string_view fileEntry, std::string_view optionString);

    // Language mode of a file-type name.
    static int LanguageOf(std::string_view fileType);

    // Setters with side effects on the file extensions.
    void SetOutputKind(int kind);
    void SetLanguage(int language);
    // Replaces "\include" by "\optlibinc" (or back) in toolchain header
    // directories, by the optimised-library setting.
    void SwitchToolchainHeaderDirs();
    // Directory of the output file, created before the compiler runs.
    std::string OutputDirectory() const { return objPath_.dir; }
    // Address class of a section kind as it is written: the 20-bit and 28-bit
    // classes fold into the 32-bit class unless the CPU type is the fourth or
    // fifth row of its table.
    int EffectiveAbsClass(int kind) const;
    // True when all thirteen group-1 warnings are on.
    bool AllGroup1Warnings() const;

    bool operator==(const CompilerModel&) const = default;

  protected:
    void ResetFields() override;
    void AfterRead() override;
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;

  private:
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
