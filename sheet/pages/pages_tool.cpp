// The one category page each tool tab has so far.
#include "models/assembler_keys.h"
#include "models/compiler_keys.h"
#include "models/generator_model.h"
#include "models/linker_model.h"
#include "sheet/bindings.h"
#include "sheet/pages/choice_labels.h"
#include "sheet/pages/pages.h"

namespace quorle::sheet {

using models::AssemblerModel;
using models::CompilerModel;
using models::GeneratorModel;
using models::LinkerFields;
using models::LinkerModel;

namespace {

ControlDef Check(std::string label, std::string key, Binding binding, std::string help) {
    ControlDef c;
    c.kind = ControlKind::Check;
    c.label = std::move(label);
    c.key = std::move(key);
    c.binding = std::move(binding);
    c.help = std::move(help);
    return c;
}

EnableRule While(std::string control, std::string value) {
    return EnableRule{std::move(control), {std::move(value)}};
}

} // namespace

PageData CppOptimizePage() {
    namespace k = models::compiler_keys;
    PageData page{"Optimize", "CPageCppOptimize", {}};
    ControlDef optimise =
        ChoiceControl("&Optimize", k::kOptimize, {"Off", "On"},
                      BindIndex<CompilerModel>(&CompilerModel::optimize_, k::kOptimize),
                      "Optimize the generated code (the level's -O flags)");
    optimise.kind = ControlKind::Check;
    page.controls.push_back(std::move(optimise));
    ControlDef level =
        ChoiceControl("Optimization &level:", k::kOptLevel, LabelsOf(k::kOptLevelOptions),
                      BindIndex<CompilerModel>(&CompilerModel::optLevel_, k::kOptLevel),
                      "What the optimizer favours: -O3, -Os or -O2, with their -f flags");
    level.enable = While("OPTIMIZE", "1");
    page.controls.push_back(std::move(level));
    ControlDef lto = Check("Link-&time optimization", "LTO",
                           BindIndex<CompilerModel>(&CompilerModel::lto_, k::kLto),
                           "Keep the intermediate code for the linker (-flto)");
    lto.enable = While("OPTIMIZE", "1");
    page.controls.push_back(std::move(lto));
    return page;
}

PageData AsmObjectPage() {
    namespace k = models::assembler_keys;
    PageData page{"Object", "CPageAsmObject", {}};
    page.controls.push_back(
        ChoiceControl("&Debug information:", k::kDebugLevel, LabelsOf(k::kDebugLevelOptions),
                      BindIndex<AssemblerModel>(&AssemblerModel::debugLevel_, k::kDebugLevel),
                      "Debug information for the object: none, --gstabs or --gdwarf2"));
    page.controls.push_back(Check("Keep the object file after &errors", "GENOBJ",
                                  BindIndex<AssemblerModel>(&AssemblerModel::genObj_, k::kGenObj),
                                  "Write the object even when errors occur (-Z)"));
    page.controls.push_back(Check("&Fold data sections into text", "FOLDSEC",
                                  BindIndex<AssemblerModel>(&AssemblerModel::foldSec_, k::kFoldSec),
                                  "Fold the data section into the text section (-R)"));
    return page;
}

PageData LnkOutputPage() {
    PageData page{"Output", "CPageLnkOutput", {}};
    ControlDef file;
    file.kind = ControlKind::Text;
    file.label = "&Output file:";
    file.key = "OUTFILE";
    file.binding = BindText<LinkerModel>(&LinkerFields::outputFile_);
    file.help = "The absolute file the linker writes (-o)";
    page.controls.push_back(std::move(file));
    page.controls.push_back(Check("Generate &map file", "MFILEGEN",
                                  BindFlag<LinkerModel>(&LinkerFields::mapFile_),
                                  "Write a link map beside the output (-Map=)"));
    page.controls.push_back(Check("&Split sections by relocation count", "DORELOC",
                                  BindFlag<LinkerModel>(&LinkerFields::relocSplit_),
                                  "Split output sections by relocation count (--split-by-reloc)"));
    ControlDef count;
    count.kind = ControlKind::Number;
    count.label = "&Relocations per section:";
    count.key = "SBYRELOC";
    count.minimum = 0;
    count.maximum = 65535;
    count.binding = BindText<LinkerModel>(&LinkerFields::relocCount_);
    count.help = "The relocation count of --split-by-reloc=N";
    count.enable = While("DORELOC", "1");
    page.controls.push_back(std::move(count));
    page.controls.push_back(Check("Use &gcc to link", "USEGCCTOLINK",
                                  BindFlag<LinkerModel>(&LinkerFields::useGcc_),
                                  "Link through the gcc driver; ld options become -Wl,<option>"));
    return page;
}

PageData LbgOptimizePage() {
    namespace k = models::generator_keys;
    PageData page{"Optimize", "CPageLbgOptimize", {}};
    ControlDef optimise =
        ChoiceControl("&Optimize", k::kOptimize, {"Off", "On"},
                      BindIndex<GeneratorModel>(&GeneratorModel::optimize_, k::kOptimize),
                      "Build the library optimized (the optimization type's flags)");
    optimise.kind = ControlKind::Check;
    page.controls.push_back(std::move(optimise));
    ControlDef type =
        ChoiceControl("Optimization &type:", k::kOptType, LabelsOf(k::kOptTypeOptions),
                      BindIndex<GeneratorModel>(&GeneratorModel::optType_, k::kOptType),
                      "What the library build favours: -O3, -Os or -O2, with their -f flags");
    type.enable = While("OPTIMIZE", "1");
    page.controls.push_back(std::move(type));
    return page;
}

} // namespace quorle::sheet
