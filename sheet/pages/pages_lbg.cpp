// The category pages of the Standard Library tab over the library generator
// model.
#include "models/generator_model.h"
#include "sheet/page_builders.h"
#include "sheet/pages/choice_labels.h"
#include "sheet/tool_pages.h"

namespace quorle::sheet {

using namespace build;
using models::GeneratorModel;
namespace k = models::generator_keys;

namespace {

using M = GeneratorModel;

template <class Field, class Owner> Binding Index(Field Owner::*field, models::KeyList table) {
    return BindIndex<M>(field, table);
}

PageData Category() {
    PageData p{"Category", "CPageLbgCategory", {}, ""};
    p.controls.push_back(Check("&Build the library", k::kBuild, Index(&M::build_, k::kBuild),
                               "Run the library generator for this project"));
    ControlDef mode = Choice(
        "Build &mode:", k::kMode,
        {"Build a library file (everytime)", "Build a library file (only when options change)"},
        Index(&M::mode_, k::kMode), "When the library is rebuilt");
    mode.enable = While("DOPROJBUILT", {"1"});
    p.controls.push_back(std::move(mode));
    ControlDef choice =
        Choice("&Library:", k::kOptLib, {"Standard library (newlib)", "Optimized library (optlib)"},
               Index(&M::optLib_, k::kOptLib), "--select-lib=newlib or optlib");
    p.controls.push_back(std::move(choice));
    p.controls.push_back(Check("&Disable the pre-built libraries", k::kNoPrebuilt,
                               Index(&M::noPrebuilt_, k::kNoPrebuilt),
                               "Always build, never use the toolchain's own libraries"));
    ControlDef output = Text("&Output library:", k::kOutputPath, BindText<M>(&M::output_),
                             "The archive after --output=");
    output.enable = While("DOPROJBUILT", {"1"});
    p.controls.push_back(std::move(output));
    for (size_t i = 0; i < models::kGenHeaderCount; ++i) {
        ControlDef c = CheckToken("Functions of <" + std::string(k::kHeaderNames[i]) + ".h>",
                                  k::kHeaderKeys[i], BindArrayFlag<M>(&M::headers_, i),
                                  "Adds " + std::string(k::kHeaderNames[i]) +
                                      " to --header-files= (all five give all)");
        c.enable = While("DOPROJBUILT", {"1"});
        p.controls.push_back(std::move(c));
    }
    return Finish(std::move(p));
}

PageData Optimize() {
    PageData p{"Optimize", "CPageLbgOptimize", {}, ""};
    p.controls.push_back(Check("&Optimize", k::kOptimize, Index(&M::optimize_, k::kOptimize),
                               "Build the library optimized (the optimization type's flags)"));
    ControlDef type =
        Choice("Optimization &type:", k::kOptType, LabelsOf(k::kOptTypeOptions),
               Index(&M::optType_, k::kOptType),
               "What the library build favours: -O3, -Os or -O2, with their -f flags");
    type.enable = While("OPTIMIZE", {"1"});
    p.controls.push_back(std::move(type));
    return Finish(std::move(p));
}

PageData Other() {
    PageData p{"Other", "CPageLbgOther", {}, ""};
    for (size_t i = 0; i < models::kGenFlagCount; ++i)
        p.controls.push_back(CheckToken(
            std::string(k::kFlagArgs[i]), k::kFlagKeys[i], BindArrayFlag<M>(&M::flags_, i),
            "Gives " + std::string(k::kFlagArgs[i]) + " in --compiler-options="));
    p.controls.push_back(Text("&Compiler options:", k::kAppTxtCmp, BindText<M>(&M::userCompiler_),
                              "Your own gcc options for the library, in --compiler-options="));
    p.controls.push_back(Text("&Assembler options:", k::kAppTxtAsm, BindText<M>(&M::userAssembler_),
                              "Your own as options for the library, in --assembler-options="));
    return Finish(std::move(p));
}

} // namespace

std::vector<PageData> LbgPages() {
    return {Category(), Optimize(), Other()};
}

} // namespace quorle::sheet
