// The category pages of the C/C++ tab over the compiler model.
#include "models/compiler_keys.h"
#include "models/compiler_model.h"
#include "sheet/page_builders.h"
#include "sheet/pages/choice_labels.h"
#include "sheet/tool_pages.h"

namespace quorle::sheet {

using namespace build;
using models::CompilerModel;
namespace k = models::compiler_keys;

namespace {

using M = CompilerModel;

template <class Field, class Owner> Binding Index(Field Owner::*field, models::KeyList table) {
    return BindIndex<M>(field, table);
}

// A switch row's check box: its label with the flag it gives, and a help line
// that starts with that flag.
template <size_t N, class Owner>
ControlDef SwitchCheck(const models::FlagOption& row, std::array<bool, N> Owner::*field, size_t i,
                       std::string_view helpTail = {}) {
    const std::string flag(row.flag);
    return CheckToken(std::string(row.label) + " (" + flag + ")", row.key,
                      BindArrayFlag<M>(field, i), "Gives " + flag + std::string(helpTail));
}

// "letter=name" for the section names that differ from their defaults.
Binding SectionNames() {
    return Bind<M>(
        [](const M& m) {
            Value v;
            for (size_t i = 0; i < 4; ++i)
                if (m.sectionNames_[i] != k::kSectionDefaults[i])
                    v.push_back(std::string(1, k::kSectionLetters[i]) + "=" + m.sectionNames_[i]);
            return v;
        },
        [](M& m, const Value& v) {
            for (size_t i = 0; i < 4; ++i) m.sectionNames_[i] = std::string(k::kSectionDefaults[i]);
            for (const std::string& e : v)
                for (size_t i = 0; i < 4; ++i)
                    if (e.size() > 2 && e[0] == k::kSectionLetters[i] && e[1] == '=')
                        m.sectionNames_[i] = e.substr(2);
        });
}

std::optional<std::string> CheckSectionName(const std::string& e, const Value&) {
    if (e.size() > 2 && e[1] == '=' && std::string("PCDB").find(e[0]) != std::string::npos &&
        e.find(' ') == std::string::npos)
        return std::nullopt;
    return std::string("Enter P=, C=, D= or B= followed by a section name without blanks.");
}

// "KIND=BITS" for the section kinds outside the 32-bit class.
Binding AddressClasses() {
    return Bind<M>(
        [](const M& m) {
            Value v;
            for (size_t i = 0; i < models::kSectionKindCount; ++i)
                if (m.absClass_[i] != models::kAbsClass32)
                    v.push_back(std::string(k::kSectionKinds[i]) + "=" +
                                std::string(k::kAbsClassOptions[m.absClass_[i]].label));
            return v;
        },
        [](M& m, const Value& v) {
            m.absClass_.fill(models::kAbsClass32);
            for (const std::string& e : v)
                for (size_t i = 0; i < models::kSectionKindCount; ++i)
                    for (size_t b = 0; b < std::size(k::kAbsClassOptions); ++b)
                        if (e == std::string(k::kSectionKinds[i]) + "=" +
                                     std::string(k::kAbsClassOptions[b].label))
                            m.absClass_[i] = static_cast<int>(b);
        });
}

std::optional<std::string> CheckAddressClass(const std::string& e, const Value&) {
    for (SV kind : k::kSectionKinds)
        for (const models::ChoiceOption& cls : k::kAbsClassOptions)
            if (e == std::string(kind) + "=" + std::string(cls.label)) return std::nullopt;
    return std::string("Enter PROGRAM, CONST, DATA, BSS or RUN, \"=\" and 16, 20, 28 or 32.");
}

Binding StuffSections() {
    return Bind<M>(
        [](const M& m) {
            Value v;
            for (size_t i = 0; i < 3; ++i)
                if (m.stuff_[i]) v.emplace_back(k::kStuffNames[i]);
            return v;
        },
        [](M& m, const Value& v) {
            for (size_t i = 0; i < 3; ++i)
                m.stuff_[i] =
                    std::find(v.begin(), v.end(), std::string(k::kStuffNames[i])) != v.end();
        });
}

std::optional<std::string> CheckStuffName(const std::string& e, const Value& others) {
    if (e != "CONST" && e != "DATA" && e != "BSS") return std::string("Enter CONST, DATA or BSS.");
    if (std::find(others.begin(), others.end(), e) != others.end())
        return std::string("This entry is already in the list.");
    return std::nullopt;
}

PageData Source() {
    PageData p{"Source", "CPageCppSource", {}, ""};
    p.controls.push_back(List("&Pre-include files:", k::kPreInclude, BindList<M>(&M::preIncludes_),
                              "Files included before the source (-preinclude=)", true));
    ControlDef optlib = Check("Use the &optimized library headers", k::kOptLib,
                              Bind<M>([](const M& m) { return Flag(m.optLib_ == 1); },
                                      [](M& m, const Value& v) {
                                          m.optLib_ = Word(v) == "1" ? 1 : 0;
                                          // The toolchain's header directories follow the library.
                                          m.SwitchToolchainHeaderDirs();
                                      }),
                              "Toolchain include directories use optlibinc instead of include");
    p.controls.push_back(std::move(optlib));
    p.controls.push_back(Check("&Toolchain include directories follow the library choice",
                               k::kChgIncPath, Index(&M::chgIncPath_, k::kChgIncPath),
                               "Marks the include directories as switched with the library"));
    p.controls.push_back(Choice(
        "Project t&ype:", k::kProjectType, LabelsOf(models::kProjectTypeOptions),
        Index(&M::projectType_, k::kProjectType), "The kind of project the file belongs to"));
    return Finish(std::move(p));
}

PageData Defines() {
    PageData p{"Defines", "CPageCppSourceDefines", {}, "Source"};
    p.controls.push_back(List("&Macro definitions:", k::kDefines, BindList<M>(&M::defines_),
                              "NAME or NAME=VALUE, each given as -D NAME=VALUE"));
    return Finish(std::move(p));
}

PageData Include() {
    PageData p{"Include", "CPageCppSourceInclude", {}, "Source"};
    p.controls.push_back(List("&Include directories:", k::kIncDir, BindList<M>(&M::incDirs_),
                              "Directories searched for #include files (-I)", true));
    return Finish(std::move(p));
}

PageData Inline() {
    PageData p{"Inline", "CPageCppSourceInline", {}, "Source"};
    p.controls.push_back(List("Inline &search paths:", k::kFileInlinePath,
                              BindList<M>(&M::fileInlinePaths_),
                              "Directories searched for inline files (-file_inline_path=)", true));
    p.controls.push_back(List("Inline &files:", k::kFileInline, BindList<M>(&M::fileInline_),
                              "Files whose functions may be inlined across files", true));
    p.controls.push_back(Check("&No inline expansion of C++ functions", k::kCppNoInline,
                               Index(&M::cppNoInline_, k::kCppNoInline),
                               "C++ inline functions are called, not expanded"));
    p.controls.push_back(Choice("s&witch statements:", k::kCase, {"if-then chains", "Jump tables"},
                                BindOptionalIndex<M>(&M::case_, k::kCase),
                                "How switch statements are expanded", true));
    p.controls.push_back(Choice("S&hifts:", k::kShift, {"Inline", "Run-time routine"},
                                BindOptionalIndex<M>(&M::shift_, k::kShift),
                                "How shifts are expanded", true));
    p.controls.push_back(Choice("&Block copies:", k::kBlockCopy, {"Inline", "Run-time routine"},
                                BindOptionalIndex<M>(&M::blockCopy_, k::kBlockCopy),
                                "How block copies are expanded", true));
    p.controls.push_back(Choice("&Unaligned access:", k::kUnaligned, {"Inline", "Run-time routine"},
                                BindOptionalIndex<M>(&M::unaligned_, k::kUnaligned),
                                "How unaligned accesses are expanded", true));
    p.controls.push_back(Check("Software &pipelining", k::kSoftPipe,
                               Index(&M::softPipe_, k::kSoftPipe), "Overlap loop iterations"));
    return Finish(std::move(p));
}

PageData Messages() {
    PageData p{"Messages", "CPageCppSourceMessages", {}, "Source"};
    p.controls.push_back(Check("&Inhibit all warnings", k::kWInhibit,
                               Index(&M::wInhibit_, k::kWInhibit),
                               "No warning at all (-w -Wno-analyze)"));
    for (size_t i = 0; i < std::size(k::kWarn1Options); ++i) {
        ControlDef c =
            SwitchCheck(k::kWarn1Options[i], &M::warn1_, i, "; all thirteen together give -Wall");
        c.enable = While("WINHIBIT", {"0"});
        p.controls.push_back(std::move(c));
    }
    return Finish(std::move(p));
}

PageData MessagesAdvanced() {
    PageData p{"Messages advanced", "CPageCppSourceMessagesAdv", {}, "Source"};
    for (size_t i = 0; i < std::size(k::kWarn2Options); ++i)
        p.controls.push_back(SwitchCheck(k::kWarn2Options[i], &M::warn2_, i));
    return Finish(std::move(p));
}

PageData Object() {
    PageData p{"Object", "CPageCppObject", {}, ""};
    p.controls.push_back(
        Choice("&Output:", k::kOutput,
               {"Object file (-o)", "Assembler source (-S)", "Preprocessed source (-E)",
                "Preprocessed source without line markers (-P -E)"},
               Bind<M>([](const M& m) { return Value{WordOf(k::kOutput, m.output_)}; },
                       [](M& m, const Value& v) {
                           // The setter also sets the file extension that goes with it.
                           for (size_t i = 0; i < std::size(k::kOutput); ++i)
                               if (WordOfToken(k::kOutput[i], false) == Word(v))
                                   m.SetOutputKind(static_cast<int>(i));
                       }),
               "What the compiler writes: -c, -S, -E or -P -E"));
    p.controls.push_back(
        Text("Output &file:", k::kObjPath, BindPath<M>(&M::objPath_), "The file after -o"));
    ControlDef level = Choice(
        "&Debug information:", k::kDebugLevel, LabelsOf(k::kDebugLevelOptions),
        Bind<M>(
            [](const M& m) {
                return m.debug_ == 0 ? Value{"0"} : Value{WordOf(k::kDebugLevel, m.debugLevel_)};
            },
            [](M& m, const Value& v) {
                if (Word(v) == "0") {
                    m.debug_ = 0; // the option string writes level 0 as DEBUG 0
                    return;
                }
                m.debug_ = 1;
                for (size_t i = 0; i < std::size(k::kDebugLevel); ++i)
                    if (WordOfToken(k::kDebugLevel[i], false) == Word(v))
                        m.debugLevel_ = static_cast<int>(i);
            }),
        "None, or -g with -g1, -g2 or -g3");
    level.values.insert(level.values.begin(), "0");
    level.valueLabels.insert(level.valueLabels.begin(), "None");
    level.tokens.emplace_back(k::kDebug[0]);
    level.tokens.emplace_back(k::kDebug[1]);
    level.tokens.emplace_back(k::kDebugLevelOff);
    p.controls.push_back(std::move(level));
    ControlDef format = Choice("Debug f&ormat:", k::kDebugFormat, LabelsOf(k::kDebugFormatOptions),
                               Index(&M::debugFormat_, k::kDebugFormat),
                               "The debug format flag that goes before the level");
    format.enable = While("DEBUGLV", {"1", "2", "3"});
    p.controls.push_back(std::move(format));
    ControlDef sections = List("Section &names:", k::kSection, SectionNames(),
                               "P=, C=, D=, B= and a name (-section=program=...)");
    sections.checkEntry = CheckSectionName;
    p.controls.push_back(std::move(sections));
    p.controls.push_back(Check("String literals in the &data section", k::kStringData,
                               BindOnOff<M>(&M::stringData_), "-string=data"));
    ControlDef abs = List("&Address classes:", k::kAbsPrefixes[0], AddressClasses(),
                          "KIND=16, 20 or 28 (-abs16=, -abs20=, -abs28=)");
    for (size_t i = 1; i < std::size(k::kAbsPrefixes); ++i)
        abs.tokens.emplace_back(k::kAbsPrefixes[i]);
    abs.key = "ABS";
    abs.checkEntry = CheckAddressClass;
    p.controls.push_back(std::move(abs));
    p.controls.push_back(Choice("A&lignment:", k::kAlign, LabelsOf(k::kAlignOptions),
                                BindOptionalIndex<M>(&M::align_, k::kAlign),
                                "Alignment of program sections", true));
    ControlDef align4 =
        Choice("4-byte alignment &scope:", k::kAlign4Scope, LabelsOf(k::kAlign4ScopeOptions),
               Index(&M::align4Scope_, k::kAlign4Scope), "-align4=");
    ControlDef stuff =
        List("Stu&ffed sections:", k::kStuffSection, StuffSections(), "CONST, DATA, BSS (-stuff=)");
    stuff.checkEntry = CheckStuffName;
    p.controls.push_back(std::move(align4));
    p.controls.push_back(std::move(stuff));
    p.controls.push_back(Check("Stuff &GBR-relative data", k::kStuffGbr,
                               Index(&M::stuffGbr_, k::kStuffGbr), "GBR-relative stuffing"));
    p.controls.push_back(Choice("C++ te&mplates:", k::kTemplate, LabelsOf(k::kTemplateOptions),
                                BindOptionalIndex<M>(&M::template_, k::kTemplate),
                                "-template=none, static, used or all", true));
    p.controls.push_back(Text("Embedded assembl&y text:", k::kAssembly, BindText<M>(&M::assembly_),
                              "Text the host compiler embeds"));
    p.controls.push_back(Check("No line &information", k::kNoLine, Index(&M::noLine_, k::kNoLine),
                               "No line numbers in the object"));
    p.controls.push_back(Check("Interrupt f&unctions", k::kIFunc, Index(&M::iFunc_, k::kIFunc),
                               "-ifunc, for the CPU types that have it"));
    p.controls.push_back(
        Choice("Di&vision:", k::kDivision, {"CPU, inline", "CPU, run-time routine"},
               BindOptionalIndex<M>(&M::division_, k::kDivision), "How divisions are made", true));
    ControlDef cpuDivision = Choice("Division &unit:", k::kCpuDivision,
                                    {"Peripheral divider", "Peripheral divider, no interrupt mask"},
                                    BindOptionalIndex<M>(&M::cpuDivision_, k::kCpuDivision),
                                    "The division unit used", true);
    p.controls.push_back(std::move(cpuDivision));
    p.controls.push_back(Choice("Floating-point unit:", k::kFpu,
                                {"Single precision", "Double precision"},
                                BindOptionalIndex<M>(&M::fpu_, k::kFpu), "The FPU used", true));
    p.controls.push_back(Choice("Rounding:", k::kRound, {"Nearest"},
                                BindOptionalIndex<M>(&M::round_, k::kRound),
                                "Floating-point rounding", true));
    return Finish(std::move(p));
}

PageData ListPage() {
    PageData p{"List", "CPageCppList", {}, ""};
    p.controls.push_back(Check("&Generate a list file", k::kListing,
                               Index(&M::listing_, k::kListing), "Assembler listing (-Wa,-a=)"));
    ControlDef file =
        Text("List &file:", k::kLFile, BindPath<M>(&M::listPath_), "The file after -Wa,-a...=");
    file.enable = While("LOUTLIST", {"1"});
    p.controls.push_back(std::move(file));
    for (size_t i = 0; i < std::size(models::kListContentOptions); ++i) {
        const models::FlagOption& row = models::kListContentOptions[i];
        ControlDef c =
            CheckToken(std::string(row.label), row.key, BindArrayFlag<M>(&M::listContents_, i),
                       "Adds \"" + std::string(row.flag) + "\" to -Wa,-a");
        c.enable = While("LOUTLIST", {"1"});
        p.controls.push_back(std::move(c));
    }
    return Finish(std::move(p));
}

constexpr const char* kMapWords[] = {"0", "SMAP", "MAP"};

PageData Optimize() {
    PageData p{"Optimize", "CPageCppOptimize", {}, ""};
    p.controls.push_back(Check("&Optimize", k::kOptimize, Index(&M::optimize_, k::kOptimize),
                               "Optimize the generated code (the level's -O flags)"));
    ControlDef level = Choice("Optimization &level:", k::kOptLevel, LabelsOf(k::kOptLevelOptions),
                              Index(&M::optLevel_, k::kOptLevel),
                              "What the optimizer favours: -O3, -Os or -O2, with their -f flags");
    level.enable = While("OPTIMIZE", {"1"});
    p.controls.push_back(std::move(level));
    ControlDef lto = Check("Link-&time optimization", k::kLto, Index(&M::lto_, k::kLto),
                           "Keep the intermediate code for the linker (-flto)");
    lto.enable = While("OPTIMIZE", {"1"});
    p.controls.push_back(std::move(lto));
    ControlDef map = Choice("Optimization &map:", k::kMap,
                            {"None", "Use the map file of the last link", "Write a map file"},
                            Bind<M>([](const M& m) { return Value{kMapWords[m.map_]}; },
                                    [](M& m, const Value& v) {
                                        for (int i = 0; i < 3; ++i)
                                            if (Word(v) == kMapWords[i]) m.map_ = i;
                                    }),
                            "Map information for the optimizing link");
    map.values = {kMapWords[0], kMapWords[1], kMapWords[2]};
    map.key = "MAP";
    map.enable = While("OPTIMIZE", {"1"});
    p.controls.push_back(std::move(map));
    ControlDef mapFile = Text("Map f&ile:", k::kMapPath, BindPath<M>(&M::mapPath_),
                              "The map file the optimizing link writes");
    mapFile.enable = While("MAP", {"MAP"});
    p.controls.push_back(std::move(mapFile));
    return Finish(std::move(p));
}

PageData Other() {
    PageData p{"Other", "CPageCppOther", {}, ""};
    for (size_t i = 0; i < std::size(k::kOtherOptions); ++i)
        p.controls.push_back(SwitchCheck(k::kOtherOptions[i], &M::other_, i));
    p.controls.push_back(Text("&User options:", k::kAppTxt, BindText<M>(&M::userOptions_),
                              "Your own gcc options, added as they are"));
    return Finish(std::move(p));
}

} // namespace

std::vector<PageData> CppPages() {
    return {Source(),           Defines(), Include(),  Inline(),   Messages(),
            MessagesAdvanced(), Object(),  ListPage(), Optimize(), Other()};
}

} // namespace quorle::sheet
