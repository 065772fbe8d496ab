// The category pages of the Link/Library tab over the linker model, but the
// section pages (section_pages.cpp).
#include "models/linker_keys.h"
#include "models/linker_model.h"
#include "sheet/page_builders.h"
#include "sheet/pages/choice_labels.h"
#include "sheet/tool_pages.h"

namespace quorle::sheet {

using namespace build;
using models::LinkerFields;
using models::LinkerModel;
namespace k = models::linker_keys;

namespace {

using M = LinkerModel;

Binding Flag(bool LinkerFields::*field) {
    return BindFlag<M>(field);
}

// Entries "left=right" over two parallel lists.
Binding Pairs(std::vector<std::string> LinkerFields::*left,
              std::vector<std::string> LinkerFields::*right, char separator) {
    return Bind<M>(
        [left, right, separator](const M& m) {
            Value v;
            const auto& a = m.*left;
            const auto& b = m.*right;
            for (size_t i = 0; i < a.size(); ++i)
                v.push_back(a[i] + separator + (i < b.size() ? b[i] : std::string()));
            return v;
        },
        [left, right, separator](M& m, const Value& v) {
            (m.*left).clear();
            (m.*right).clear();
            for (const std::string& e : v) {
                size_t at = e.find(separator);
                (m.*left).push_back(e.substr(0, at));
                (m.*right).push_back(at == std::string::npos ? std::string() : e.substr(at + 1));
            }
        });
}

std::optional<std::string> NeedsSeparator(const std::string& e, char separator, const char* what) {
    size_t at = e.find(separator);
    if (at == std::string::npos || at == 0) return std::string(what);
    return std::nullopt;
}

PageData Input() {
    PageData p{"Input", "CPageLnkInput", {}, ""};
    p.controls.push_back(CheckToken("&Group the libraries (--start-group ... --end-group)",
                                    k::kInputFlags[0].key, Flag(k::kInputFlags[0].field),
                                    "Search the libraries repeatedly (--start-group)"));
    p.controls.push_back(CheckToken(
        "&Maintain the default libraries", k::kInputFlags[1].key, Flag(k::kInputFlags[1].field),
        "The toolchain's libraries and directories are kept up to date"));
    ControlDef binaries = List("&Binary files:", k::kBinary,
                               Pairs(&LinkerFields::binaries_, &LinkerFields::binarySections_, '|'),
                               "file|section: a raw binary placed in that section (-b binary)");
    binaries.checkEntry = [](const std::string& e, const Value&) {
        return NeedsSeparator(e, '|', "Enter the file, \"|\" and the section.");
    };
    p.controls.push_back(std::move(binaries));
    ControlDef entry = Text("&Entry symbol:", k::kEntry,
                            Bind<M>([](const M& m) { return Value{m.entryOn_ ? m.entry_ : ""}; },
                                    [](M& m, const Value& v) {
                                        m.entry_ = Word(v);
                                        m.entryOn_ = !m.entry_.empty();
                                    }),
                            "The program's entry point (-e); empty for the default");
    entry.tokens.emplace_back(k::kInputFlags[2].key);
    p.controls.push_back(std::move(entry));
    p.controls.push_back(Choice("&Prelink:", k::kPrelink, {"Not given", "Skip", "Run"},
                                BindIndex<M>(&LinkerFields::prelink_, k::kPrelink),
                                "The C++ prelinker step"));
    p.controls.push_back(Check("Use the &optimized C library", k::kOptLib,
                               Flag(&LinkerFields::optLib_), "Link optlib instead of newlib"));
    p.controls.push_back(Check("Project is built as a &library", k::kProjectBuilt,
                               Flag(&LinkerFields::projectIsLibrary_),
                               "The project's output is a library archive (ar)"));
    p.controls.push_back(Choice("Project &type:", k::kProjectType, LabelsOf(k::kProjectTypeRows),
                                BindIndex<M>(&LinkerFields::projectType_, k::kProjectType),
                                "C++ links the C++ libraries"));
    return Finish(std::move(p));
}

PageData Defines() {
    PageData p{"Defines", "CPageLnkInputDefines", {}, "Input"};
    ControlDef symbols =
        List("&Symbol definitions:", k::kDefine,
             Bind<M>(
                 [](const M& m) {
                     Value v;
                     for (const models::LinkerSymbol& s : m.symbols_)
                         v.push_back(s.name + "=" + s.value);
                     return v;
                 },
                 [](M& m, const Value& v) {
                     m.symbols_.clear();
                     for (const std::string& e : v) {
                         size_t at = e.find('=');
                         m.symbols_.push_back({e.substr(0, at), at == std::string::npos
                                                                    ? std::string()
                                                                    : e.substr(at + 1)});
                     }
                 }),
             "NAME=VALUE, each given as --defsym NAME=VALUE");
    symbols.checkEntry = [](const std::string& e, const Value&) {
        return NeedsSeparator(e, '=', "Enter NAME=VALUE.");
    };
    p.controls.push_back(std::move(symbols));
    return Finish(std::move(p));
}

PageData Libraries() {
    PageData p{"Libraries", "CPageLnkInputLibraries", {}, "Input"};
    p.controls.push_back(List("&Libraries:", k::kArchive, BindList<M>(&LinkerFields::libraries_),
                              "Library files, in link order (-l or the file)", true));
    return Finish(std::move(p));
}

PageData LibraryPaths() {
    PageData p{"Library paths", "CPageLnkInputLibraryPaths", {}, "Input"};
    p.controls.push_back(List("Library &directories:", k::kIncDir,
                              BindList<M>(&LinkerFields::libDirs_),
                              "Directories searched for libraries (-L)", true));
    return Finish(std::move(p));
}

PageData Relocatable() {
    PageData p{"Relocatable", "CPageLnkInputRelocatable", {}, "Input"};
    p.controls.push_back(
        List("&Relocatable files:", k::kInput, BindList<M>(&LinkerFields::objects_),
             "Object files, in link order (INPUT of the linker input file)", true));
    p.controls.push_back(CheckToken("Name the objects on the &command line", k::kOutputFlags[8].key,
                                    Flag(k::kOutputFlags[8].field),
                                    "Objects go on the command line instead of the input file"));
    return Finish(std::move(p));
}

PageData Output() {
    PageData p{"Output", "CPageLnkOutput", {}, ""};
    p.controls.push_back(Text("&Output file:", k::kOutFile, BindText<M>(&LinkerFields::outputFile_),
                              "The absolute file the linker writes (-o)"));
    ControlDef form = Choice("Output &form:", k::kOutputForm, LabelsOf(k::kOutputFormOptions),
                             BindIndex<M>(&LinkerFields::outputForm_, k::kOutputForm),
                             "Both adds an S-record file made with objcopy");
    // Position 2 has no token: it is not offered.
    form.values.erase(form.values.begin() + 2);
    form.valueLabels.erase(form.valueLabels.begin() + 2);
    form.binding = Bind<M>([](const M& m) { return Value{WordOf(k::kOutputForm, m.outputForm_)}; },
                           [](M& m, const Value& v) {
                               const std::vector<std::string> words = WordsOf(k::kOutputForm);
                               for (size_t i = 0; i < words.size(); ++i)
                                   if (!words[i].empty() && Word(v) == words[i])
                                       m.outputForm_ = static_cast<int>(i);
                           });
    p.controls.push_back(std::move(form));
    ControlDef records = List("&Record types:", k::kSRecord[1],
                              Bind<M>(
                                  [](const M& m) {
                                      Value v;
                                      if (m.sRecord_ > 0)
                                          v.push_back(WordOf(k::kSRecord, m.sRecord_));
                                      if (m.hexRecord_ > 0)
                                          v.push_back(WordOf(k::kHexRecord, m.hexRecord_));
                                      return v;
                                  },
                                  [](M& m, const Value& v) {
                                      m.sRecord_ = m.hexRecord_ = 0;
                                      for (const std::string& e : v)
                                          for (int i = 1; i < 4; ++i) {
                                              if (e == WordOf(k::kSRecord, i)) m.sRecord_ = i;
                                              if (e == WordOf(k::kHexRecord, i)) m.hexRecord_ = i;
                                          }
                                  }),
                              "S1, S2 or S3 and H16, H20 or H32: the record forms");
    records.tokens.clear();
    for (int i = 1; i < 4; ++i) {
        records.tokens.emplace_back(k::kSRecord[i]);
        records.tokens.emplace_back(k::kHexRecord[i]);
    }
    records.checkEntry = [](const std::string& e,
                            const Value& others) -> std::optional<std::string> {
        bool s = e == "S1" || e == "S2" || e == "S3";
        bool h = e == "H16" || e == "H20" || e == "H32";
        if (!s && !h) return std::string("Enter S1, S2, S3, H16, H20 or H32.");
        for (const std::string& o : others)
            if (!o.empty() && o[0] == e[0])
                return std::string("Only one S-record and one hex record type.");
        return std::nullopt;
    };
    p.controls.push_back(std::move(records));
    p.controls.push_back(
        CheckToken("&Split sections by relocation count", k::kOutputFlags[0].key,
                   Flag(k::kOutputFlags[0].field),
                   "Split output sections by relocation count (--split-by-reloc)"));
    ControlDef count =
        Text("Relocations per &section:", k::kRelocCount, BindText<M>(&LinkerFields::relocCount_),
             "The relocation count of --split-by-reloc=N");
    count.kind = ControlKind::Number;
    count.minimum = 0;
    count.maximum = 65535;
    count.enable = While("DORELOC", {"1"});
    p.controls.push_back(std::move(count));
    ControlDef rom = List("ROM to RA&M sections:", k::kRom,
                          Pairs(&LinkerFields::romSections_, &LinkerFields::ramSections_, '='),
                          "ROM=RAM: data kept in ROM and copied to RAM");
    rom.checkEntry = [](const std::string& e, const Value&) {
        return NeedsSeparator(e, '=', "Enter the ROM section, \"=\" and the RAM section.");
    };
    p.controls.push_back(std::move(rom));
    p.controls.push_back(CheckToken("Di&vide the output", k::kOutputFlags[1].key,
                                    Flag(k::kOutputFlags[1].field), "Write several output files"));
    ControlDef pieces =
        List("Output &pieces:", k::kMultiOutput,
             Pairs(&LinkerFields::outputPieces_, &LinkerFields::pieceSections_, '='),
             "file=sections: one output file per entry");
    pieces.enable = While("DIVIDEOUTPUT", {"1"});
    pieces.checkEntry = [](const std::string& e, const Value&) {
        return NeedsSeparator(e, '=', "Enter the file, \"=\" and its sections.");
    };
    p.controls.push_back(std::move(pieces));
    p.controls.push_back(CheckToken("Use &gcc to link", k::kOutputFlags[6].key,
                                    Flag(k::kOutputFlags[6].field),
                                    "Link through the gcc driver; ld options become -Wl,<option>"));
    ControlDef lto =
        CheckToken("&Link-time optimization", k::kOutputFlags[7].key,
                   Flag(k::kOutputFlags[7].field), "Optimize across files at link time (-flto)");
    lto.enable = While("USEGCCTOLINK", {"1"});
    p.controls.push_back(std::move(lto));
    return Finish(std::move(p));
}

PageData ListPage() {
    PageData p{"List", "CPageLnkList", {}, ""};
    p.controls.push_back(CheckToken("Generate &map file", k::kOutputFlags[5].key,
                                    Flag(k::kOutputFlags[5].field),
                                    "Write a link map beside the output (-Map=)"));
    ControlDef file = Text("Map &file:", k::kMapFile,
                           Bind<M>([](const M& m) { return Value{m.MapFilePath()}; },
                                   [](M& m, const Value& v) {
                                       models::PathParts parts = models::PathParts::Split(Word(v));
                                       m.mapDir_ = parts.dir;
                                       m.mapName_ = parts.leaf;
                                   }),
                           "The map file after -Map= (its extension is always .map)");
    file.enable = While("MFILEGEN", {"1"});
    p.controls.push_back(std::move(file));
    ControlDef show = List("Map &contents:", k::kShow,
                           Bind<M>(
                               [](const M& m) {
                                   Value v;
                                   models::KeyList words = models::ShowWords();
                                   for (size_t i = 0; i < words.size(); ++i)
                                       if (m.show_[i]) v.emplace_back(words[i]);
                                   return v;
                               },
                               [](M& m, const Value& v) {
                                   models::KeyList words = models::ShowWords();
                                   for (size_t i = 0; i < words.size(); ++i)
                                       m.show_[i] = std::find(v.begin(), v.end(),
                                                              std::string(words[i])) != v.end();
                               }),
                           "SYMBOL, REFERENCE, SECTION, XREFERENCE (--cref), TOTAL_SIZE");
    show.checkEntry = [](const std::string& e, const Value& others) -> std::optional<std::string> {
        models::KeyList words = models::ShowWords();
        if (std::find(words.begin(), words.end(), e) == words.end())
            return std::string("Enter SYMBOL, REFERENCE, SECTION, XREFERENCE or TOTAL_SIZE.");
        if (std::find(others.begin(), others.end(), e) != others.end())
            return std::string("This entry is already in the list.");
        return std::nullopt;
    };
    p.controls.push_back(std::move(show));
    p.controls.push_back(CheckToken("Data stuffing in the ma&p", k::kOutputFlags[4].key,
                                    Flag(k::kOutputFlags[4].field),
                                    "Stuffed data shown in the map"));
    return Finish(std::move(p));
}

PageData Other() {
    PageData p{"Other", "CPageLnkOther", {}, ""};
    for (size_t i = 0; i < std::size(models::kLinkerSwitches); ++i) {
        const models::FlagOption& row = models::kLinkerSwitches[i];
        p.controls.push_back(CheckToken(std::string(row.label), row.key,
                                        BindArrayFlag<M>(&LinkerFields::switches_, i),
                                        "ld switch " + std::string(row.label)));
    }
    p.controls.push_back(Text("&User options:", k::kAppText, BindText<M>(&LinkerFields::appText_),
                              "Your own ld options, added as they are"));
    p.controls.push_back(
        CheckToken("Optimi&ze the link", k::kOptimiseOn,
                   Bind<M>([](const M& m) { return build::Flag(m.OptimisationFlag()); },
                           [](M& m, const Value& v) { m.SetOptimisationFlag(Word(v) == "1"); }),
                   "The host linker's optimization switch"));
    p.controls.back().tokens.emplace_back(k::kOptimiseOff);
    p.controls.push_back(CheckToken("Warn about &unused symbols", k::kOutputFlags[2].key,
                                    Flag(k::kOutputFlags[2].field), "Report unused symbols"));
    p.controls.push_back(CheckToken("&Data stuffing", k::kOutputFlags[3].key,
                                    Flag(k::kOutputFlags[3].field), "Pack data into gaps"));
    p.controls.push_back(CheckToken("Use a &sub-command file", k::kSubcommand,
                                    Flag(&LinkerFields::subcommand_),
                                    "The link reads your file instead (@file)"));
    ControlDef file =
        Text("Sub-command &file:", k::kExtFile, BindText<M>(&LinkerFields::subcommandFile_),
             "Your response file or linker script");
    file.enable = While("SUBCOMMAND", {"1"});
    p.controls.push_back(std::move(file));
    ControlDef type = Choice("Sub-command file t&ype:", k::kSubcommandType,
                             {"Response file (@file)", "Linker script (-T)"},
                             BindIndex<M>(&LinkerFields::subcommandType_, k::kSubcommandType),
                             "How the file is given to the link");
    type.values = {"DOEXTF", "DOSEGF"};
    type.binding =
        Bind<M>([](const M& m) { return Value{m.subcommandType_ == 1 ? "DOSEGF" : "DOEXTF"}; },
                [](M& m, const Value& v) { m.subcommandType_ = Word(v) == "DOSEGF" ? 1 : 0; });
    p.controls.push_back(std::move(type));
    ControlDef check = Choice("CPU information &check:", k::kCpuCheck, {"Off", "Mode 1", "Mode 2"},
                              BindIndex<M>(&LinkerFields::cpuCheckMode_, k::kCpuCheck),
                              "Check the memory map against the CPU information");
    p.controls.push_back(std::move(check));
    ControlDef devices =
        List("Checked &memory ranges:", k::kCheckDevice,
             Bind<M>(
                 [](const M& m) {
                     Value v;
                     for (const models::CpuCheckArea& area : m.checkAreas_)
                         v.push_back(area.kind + "," + area.start + "," + area.end);
                     return v;
                 },
                 [](M& m, const Value& v) {
                     m.checkAreas_.clear();
                     for (const std::string& e : v) {
                         size_t a = e.find(','), b = e.find(',', a + 1);
                         m.checkAreas_.push_back(
                             {e.substr(0, a), e.substr(a + 1, b - a - 1), e.substr(b + 1)});
                     }
                 }),
             "KIND,start,end: memory the CPU check knows");
    devices.checkEntry = [](const std::string& e, const Value&) -> std::optional<std::string> {
        size_t a = e.find(',');
        if (a == std::string::npos || e.find(',', a + 1) == std::string::npos)
            return std::string("Enter the kind, the start and the end, separated by commas.");
        return std::nullopt;
    };
    p.controls.push_back(std::move(devices));
    p.controls.push_back(Text("CPU information f&ile:", k::kCpuInfoFile,
                              BindText<M>(&LinkerFields::cpuInfoFile_),
                              "The file the CPU check reads"));
    p.controls.push_back(Text("PS chec&k value:", k::kPsCheck, BindText<M>(&LinkerFields::psCheck_),
                              "The value of the PS check"));
    return Finish(std::move(p));
}

} // namespace

std::vector<PageData> LnkPages() {
    return {Input(),       Defines(), Libraries(), LibraryPaths(),
            Relocatable(), Output(),  ListPage(),  Other()};
}

} // namespace quorle::sheet
