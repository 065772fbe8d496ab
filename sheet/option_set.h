// One option set: the options model of one distinct option string of one
// phase, shared by every leaf whose string reads to the same text until an
// edit of some of them gives those a copy of their own.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/debugger_model.h"
#include "models/generator_model.h"
#include "models/linker_model.h"
#include "models/model_base.h"

namespace quorle::sheet {

struct COptionSet {
    int id = 0;            // order of creation, for the dump
    size_t record = 0;     // the phase record it belongs to
    int phase = -1;        // phase index
    std::string phaseName; // as the phase record gives it
    std::unique_ptr<models::ModelBase> model;
    std::string openedText; // serialised when the sheet opened
    int home = -1;          // first input position that read to it; -1 for a copy

    std::string Text() const { return model->Write(); }
    std::string ContentKey() const { return phaseName + "|" + Text(); }
};

// The phase's model read from an option string: compiler, assembler, linker,
// library generator or debugger (phase 4); null for any other phase.
std::unique_ptr<models::ModelBase> MakeModel(int phase, std::string_view optionString);
// An exact copy of a model of any of those phases.
std::unique_ptr<models::ModelBase> CloneModel(const models::ModelBase& model);

template <class Model> struct KindOf;
template <> struct KindOf<models::CompilerModel> { static constexpr auto value = kPhaseCompiler; };
template <> struct KindOf<models::AssemblerModel> {
    static constexpr auto value = kPhaseAssembler;
};
template <> struct KindOf<models::LinkerModel> { static constexpr auto value = kPhaseLinker; };
template <> struct KindOf<models::GeneratorModel> {
    static constexpr auto value = kPhaseGenerator;
};
template <> struct KindOf<models::DebuggerModel> { static constexpr auto value = kPhaseDebug; };

// The model as its phase's class; null when it is of another phase.
template <class Model> Model* As(models::ModelBase* model) {
    return model != nullptr && model->Kind() == KindOf<Model>::value ? static_cast<Model*>(model)
                                                                     : nullptr;
}
template <class Model> const Model* As(const models::ModelBase* model) {
    return model != nullptr && model->Kind() == KindOf<Model>::value
               ? static_cast<const Model*>(model)
               : nullptr;
}

} // namespace quorle::sheet
