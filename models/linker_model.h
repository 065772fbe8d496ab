// The linker options model: the typed record of the linker phase's option
// string, read by the link-text builder and the script generator and changed
// by the options editor.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/user_message.h"
#include "models/cpu_options.h"
#include "models/linker_switches.h"
#include "models/model_base.h"
#include "sections/section_layout.h"

namespace quorle::models {

inline constexpr int kShowWordCount = 5;

// Output form index values.
enum LinkerOutputForm : int {
    kFormDefault = 0,
    kFormBoth = 1,
    kFormRelocate = 2,
    kFormLibraryS = 3,
    kFormLibraryU = 4,
    kFormHex = 5,
    kFormStype = 6,
    kFormBinary = 7,
};

enum LinkerShowWord : int {
    kShowSymbol,
    kShowReference,
    kShowSection,
    kShowXReference,
    kShowTotal
};

// The switches code names, found by key: a new row needs no name here.
inline constexpr size_t kSwBStatic = RowOf(kLinkerSwitches, "B|BSTATIC|1");
inline constexpr size_t kSwStats = RowOf(kLinkerSwitches, "B|STATS|1");
inline constexpr size_t kSwDelLs = RowOf(kLinkerSwitches, "B|DELLS|1");
inline constexpr size_t kSwGcSects = RowOf(kLinkerSwitches, "B|GCSECTS|1");

KeyList LinkerSwitchKeys(); // "B|BSTATIC|1" ... "B|GCSECTS|1"
KeyList ShowWords();        // "SYMBOL", "REFERENCE", "SECTION", "XREFERENCE", "TOTAL_SIZE"
KeyList CrcTypes();         // "NONE", "CCITT", "16"

// CPU keys of a new linker model: as the compiler's, but with the byte order
// not given (2) until a key sets it.
CpuOptions LinkerCpuDefaults();

// A symbol the link defines ("S|DEFINE|").
struct LinkerSymbol {
    std::string name;
    std::string value;
    bool operator==(const LinkerSymbol&) const = default;
};

// One memory area of the CPU check ("S|;CHECKDEVICE|"): its kind and its
// first and last address, each "0x%08X".
struct CpuCheckArea {
    std::string kind;
    std::string start;
    std::string end;
    bool operator==(const CpuCheckArea&) const = default;
};

// Every field a reset restores, with its default.
struct LinkerFields {
    // Input and libraries.
    std::vector<std::string> libDirs_; // "S|INCDIR|"
    bool groupLibs_ = false;           // "B|RSARCH|1"
    bool fixupLibs_ = false;           // "B|FIXUPLIBS|1"
    std::vector<std::string> libraries_;
    std::vector<std::string> objects_;
    std::vector<std::string> binaries_;
    std::vector<std::string> binarySections_;
    std::vector<LinkerSymbol> symbols_;
    bool entryOn_ = false;
    std::string entry_;
    int prelink_ = 0; // 1 SKIP, 2 RUN

    // Output.
    int outputForm_ = kFormDefault;
    int sRecord_ = 0;   // 1-3: S1, S2, S3
    int hexRecord_ = 0; // 1-3: H16, H20, H32
    bool relocSplit_ = false;
    std::string relocCount_ = "0";
    std::vector<std::string> romSections_;
    std::vector<std::string> ramSections_;
    bool divideOutput_ = false;
    std::vector<std::string> outputPieces_;
    std::vector<std::string> pieceSections_;
    std::string outputFile_ = "$(CONFIGDIR)\\$(PROJECTNAME).x";
    bool warnUnused_ = false;
    bool dataStuff_ = false;
    bool dataStuffMap_ = false;
    bool mapFile_ = false;
    std::string mapDir_ = "$(CONFIGDIR)";
    std::string mapName_ = "$(PROJECTNAME)";
    std::array<bool, kShowWordCount> show_{};
    int crcType_ = 0;
    std::string crcAddress_ = "00000000";
    std::vector<std::string> crcRanges_;
    bool useGcc_ = false;
    bool lto_ = false;
    bool objsOnCmdLine_ = false;

    // Section layout and symbols.
    sections::SectionLayout layout_;
    std::vector<std::string> forcedSymbols_;     // "S|FSYMBOL|"
    std::vector<std::string> suppressedSymbols_; // "S|;UNGENERATESYMBOL|"
    // Filled by the options editor, already in the "-start=" entry form.
    std::vector<std::string> sectionStarts_;

    // CPU checks.
    int cpuCheckMode_ = 0;
    std::vector<CpuCheckArea> checkAreas_;
    std::string cpuInfoFile_; // "S|CPUxx|"
    std::string psCheck_;

    std::array<bool, kLinkerSwitchCount> switches_{};
    std::string appText_;  // appended verbatim to the GNU link text
    std::string otherVia_; // makefile sub-command only

    // User sub-command file.
    bool subcommand_ = false;
    std::string subcommandFile_;
    int subcommandType_ = 0; // 0 response file, 1 linker script

    // CPU keys (endianness 2 means not given) and library build.
    CpuOptions cpu_ = LinkerCpuDefaults();
    int projectType_ = 0; // 0 C, 1 C++
    bool optLib_ = false;
    bool projectIsLibrary_ = false;

    bool operator==(const LinkerFields&) const = default;
};

class LinkerModel : public ModelBase, public LinkerFields {
  public:
    // Every key table the reader recognises; a token whose key is not in
    // it is not read.
    static const KeyRegistry& ReadKeys();

    // A model at its defaults that has read `optionString`. The second text is
    // the map-optimisation file ("$(CONFIGDIR)\\$(PROJECTNAME).bls" for the
    // phase handlers); it is kept with the model and never written.
    explicit LinkerModel(std::string_view optionString = {},
                         std::string_view mapOptimisationFile = {});

    // Reads the tokens of `optionString` into the current state (lists append).
    // Returns what went wrong (a group text that ends inside a group), in
    // order; the caller decides where it is shown.
    UserMessages Parse(std::string_view optionString);
    std::string Serialize() const { return Write(); }

    // The linker optimisation flag is the carried-over token "B|OPTIMIZE|1".
    bool OptimisationFlag() const;
    // Off rewrites every "B|OPTIMIZE|1" as "B|OPTIMIZE|0" in its place; on
    // rewrites the first "B|OPTIMIZE|0" (or adds "B|OPTIMIZE|1" when none).
    void SetOptimisationFlag(bool on);

    // The map file path: directory, base name and the extension "map".
    std::string MapFilePath() const;
    // Pelka normal mode ("-mn"), which selects the OUTPUT_ARCH variant.
    bool NormalMode() const;

    // Tokens no reader knows, bodies as stored, in arrival order; a reset
    // keeps them.
    const std::vector<std::string>& Carried() const { return carried_; }
    void SetCarried(std::vector<std::string> bodies) { carried_ = std::move(bodies); }
    const std::string& MapOptimisationFile() const { return mapOptimisationFile_; }

  protected:
    void ResetFields() override;
    void BeforeRead(std::string_view optionString) override;
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;

  private:
    std::vector<std::string> carried_;
    std::string mapOptimisationFile_;
    // Where a read in progress puts its messages; none outside Parse.
    UserMessages* readMessages_ = nullptr;

    // One token: `body` unescaped, `raw` as stored (brackets removed).
    void ReadOne(std::string_view body, std::string_view raw);
    bool ReadInput(std::string_view body, std::string_view raw);
    bool ReadOutput(std::string_view body, std::string_view raw);
    bool ReadLayout(std::string_view body);
    bool ReadCpuCheck(std::string_view body, std::string_view raw);
    bool ReadSwitches(std::string_view body, std::string_view raw);
    bool ReadSubcommand(std::string_view body, std::string_view raw);
    bool ReadCpuKeys(std::string_view body);
    bool ReadLibraryBuild(std::string_view body);

    void WriteInput(std::string& out) const;
    void WriteOutput(std::string& out) const;
    void WriteLayout(std::string& out) const;
    void WriteCpuCheck(std::string& out) const;
};

// A model at its defaults that has read `optionString`, with what went wrong
// in the read.
struct LinkerRead {
    LinkerModel model;
    UserMessages messages;
};
LinkerRead ReadLinkerModel(std::string_view optionString, std::string_view mapOptimisationFile);

} // namespace quorle::models
