// The category pages of the Assembly tab over the assembler model.
#include "models/assembler_keys.h"
#include "models/assembler_model.h"
#include "sheet/page_builders.h"
#include "sheet/pages/choice_labels.h"
#include "sheet/tool_pages.h"

namespace quorle::sheet {

using namespace build;
using models::AssemblerModel;
namespace k = models::assembler_keys;

namespace {

using M = AssemblerModel;

template <class Field, class Owner> Binding Index(Field Owner::*field, models::KeyList table) {
    return BindIndex<M>(field, table);
}

// A setting stored as 0 not set, 1 on ("...|1"), 2 off ("...|0"); shown as
// "", "1" and "0".
constexpr const char* kTriWords[] = {"", "1", "0"};

Binding Tri(std::function<int&(M&)> field) {
    return Bind<M>([field](const M& m) { return Value{kTriWords[field(const_cast<M&>(m))]}; },
                   [field](M& m, const Value& v) {
                       for (int i = 0; i < 3; ++i)
                           if (Word(v) == kTriWords[i]) field(m) = i;
                   });
}

ControlDef TriChoice(std::string label, models::KeyList table, std::vector<std::string> labels,
                     Binding binding, std::string help) {
    ControlDef c =
        Choice(std::move(label), table, std::move(labels), std::move(binding), std::move(help));
    c.values = {kTriWords[0], kTriWords[1], kTriWords[2]};
    return c;
}

PageData Source() {
    PageData p{"Source", "CPageAsmSource", {}, ""};
    ControlDef assigns = List("&Assignments:", k::kAssignA, BindList<M>(&M::assigns_),
                              "NAME=VALUE assignments (-assigna=, or -assignc= for quoted text)");
    assigns.tokens.emplace_back(k::kAssignC);
    p.controls.push_back(std::move(assigns));
    p.controls.push_back(Choice(
        "&Input character code:", k::kInCode, {"EUC", "Shift JIS", "Latin-1"},
        BindOptionalIndex<M>(&M::inCode_, k::kInCode), "The character code of the source", true));
    p.controls.push_back(Check("&Toolchain include directories follow the library choice",
                               k::kChgIncPath, Index(&M::chgIncPath_, k::kChgIncPath),
                               "Marks the include directories as switched with the library"));
    p.controls.push_back(Check("Show the full &path in error messages", k::kErrorPath,
                               Index(&M::errorPath_, k::kErrorPath),
                               "Messages name the source by its full path"));
    p.controls.push_back(Choice("Project t&ype:", k::kProjectType,
                                LabelsOf(models::kProjectTypeOptions),
                                BindOptionalIndex<M>(&M::projectType_, k::kProjectType),
                                "The kind of project the file belongs to", true));
    return Finish(std::move(p));
}

PageData Defines() {
    PageData p{"Defines", "CPageAsmSourceDefines", {}, "Source"};
    p.controls.push_back(List("&Symbol definitions:", k::kDefines, BindList<M>(&M::defines_),
                              "NAME or NAME=VALUE, each given as --defsym NAME=VALUE"));
    return Finish(std::move(p));
}

PageData Include() {
    PageData p{"Include", "CPageAsmSourceInclude", {}, "Source"};
    p.controls.push_back(List("&Include directories:", k::kIncDir, BindList<M>(&M::incDirs_),
                              "Directories searched for .include files (-I)", true));
    return Finish(std::move(p));
}

PageData Object() {
    PageData p{"Object", "CPageAsmObject", {}, ""};
    p.controls.push_back(Choice("&Debug information:", k::kDebugLevel,
                                LabelsOf(k::kDebugLevelOptions),
                                Index(&M::debugLevel_, k::kDebugLevel),
                                "Debug information for the object: none, --gstabs or --gdwarf2"));
    p.controls.push_back(Check("Keep the object file after &errors", k::kGenObj,
                               BindOnOff<M>(&M::genObj_),
                               "Write the object even when errors occur (-Z)"));
    p.controls.push_back(Check("&Fold data sections into text", k::kFoldSec,
                               BindOnOff<M>(&M::foldSec_),
                               "Fold the data section into the text section (-R)"));
    p.controls.push_back(Text("&Object file:", k::kObjPath, BindPath<M>(&M::objPath_),
                              "The file after -o (.o added when it has no extension)"));
    p.controls.push_back(Choice("O&utput character code:", k::kOutCode, {"Shift JIS", "EUC"},
                                BindOptionalIndex<M>(&M::outCode_, k::kOutCode),
                                "The character code of strings in the object", true));
    p.controls.push_back(Choice("Dis&placement size:", k::kDispSize, {"4 bits", "12 bits"},
                                BindOptionalIndex<M>(&M::dispSize_, k::kDispSize),
                                "The size of forward displacements", true));
    return Finish(std::move(p));
}

PageData ListPage() {
    PageData p{"List", "CPageAsmList", {}, ""};
    p.controls.push_back(Check("&Generate a list file", k::kListing,
                               Index(&M::listing_, k::kListing), "Listing (-a...=file)"));
    ControlDef file = Text("List &file:", k::kLFile, BindPath<M>(&M::listPath_),
                           "The file after -a...= (.lis added when it has no extension)");
    file.enable = While("LOUTLIST", {"1"});
    p.controls.push_back(std::move(file));
    for (size_t i = 0; i < std::size(models::kListContentOptions); ++i) {
        const models::FlagOption& row = models::kListContentOptions[i];
        ControlDef c =
            CheckToken(std::string(row.label), row.key, BindArrayFlag<M>(&M::listContents_, i),
                       "Adds \"" + std::string(row.flag) + "\" to -a");
        c.enable = While("LOUTLIST", {"1"});
        p.controls.push_back(std::move(c));
    }
    std::vector<std::string> tri = {"(not set)", "Yes", "No"};
    p.controls.push_back(TriChoice("Source in the listing:", k::kSource, tri,
                                   Tri([](M& m) -> int& { return m.source_; }),
                                   "-source or -nosource (makefile form)"));
    for (size_t i = 0; i < std::size(k::kShowSettings); ++i) {
        const std::string word(k::kShowSettings[i].word);
        ControlDef c = TriChoice("Show " + word + ":", k::kShowSettings[i].tokens, tri,
                                 Tri([i](M& m) -> int& { return m.show_[i]; }),
                                 "-show=" + word + " or -noshow=" + word);
        c.enable = While("SOURCE", {"", "1"});
        p.controls.push_back(std::move(c));
    }
    ControlDef tab = Check("Tab width &4", k::kShowTab, Index(&M::showTab_, k::kShowTab),
                           "Adds tab=4 to -show=");
    tab.enable = While("SOURCE", {"", "1"});
    p.controls.push_back(std::move(tab));
    p.controls.push_back(TriChoice("Cross reference:", k::kCrossRef, tri,
                                   Tri([](M& m) -> int& { return m.crossRef_; }),
                                   "-cross_reference or -nocross_reference"));
    p.controls.push_back(TriChoice("Section list:", k::kListSection, tri,
                                   Tri([](M& m) -> int& { return m.listSection_; }),
                                   "-section or -nosection"));
    return Finish(std::move(p));
}

PageData Other() {
    PageData p{"Other", "CPageAsmOther", {}, ""};
    for (size_t i = 0; i < std::size(k::kSwitchOptions); ++i) {
        const models::FlagOption& row = k::kSwitchOptions[i];
        p.controls.push_back(CheckToken(std::string(row.label) + " (" + std::string(row.flag) + ")",
                                        row.key, BindArrayFlag<M>(&M::switches_, i),
                                        "Gives " + std::string(row.flag)));
    }
    p.controls.push_back(Choice(
        "Floating-point rounding:", k::kRound, {"Toward zero", "Nearest"},
        Bind<M>([](const M& m) { return Value{m.round_ == 2 ? "" : WordOf(k::kRound, m.round_)}; },
                [](M& m, const Value& v) {
                    m.round_ = Word(v) == "ZERO" ? 0 : Word(v) == "NEAREST" ? 1 : 2;
                }),
        "Rounding of floating-point constants", true));
    p.controls.push_back(
        Choice("Denormalized numbers:", k::kDenormal, {"Not allowed", "Allowed"},
               Bind<M>(
                   [](const M& m) {
                       return Value{m.denormal_ == 2 ? "" : WordOf(k::kDenormal, m.denormal_)};
                   },
                   [](M& m, const Value& v) {
                       m.denormal_ = Word(v) == "0" ? 0 : Word(v) == "1" ? 1 : 2;
                   }),
               "Denormalized floating-point constants", true));
    p.controls.push_back(Text("&User options:", k::kAppTxt, BindText<M>(&M::extra_),
                              "Your own assembler options, added as they are"));
    return Finish(std::move(p));
}

} // namespace

std::vector<PageData> AsmPages() {
    return {Source(), Defines(), Include(), Object(), ListPage(), Other()};
}

} // namespace quorle::sheet
