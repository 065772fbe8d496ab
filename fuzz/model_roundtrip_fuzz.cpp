// Fuzz target: every options model survives its own writing. For any option
// string, reading and writing once gives a text that reads back into the
// same model and writes back to the same text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/generator_model.h"
#include "models/linker_model.h"

namespace {

using namespace quorle::models;

template <class Model> bool SameModel(const Model& a, const Model& b) {
    return a == b;
}

// The assembler writer puts assignments holding a double quote first (under
// their own key), so order is compared in that form.
bool SameModel(const AssemblerModel& a, const AssemblerModel& b) {
    auto quotedFirst = [](AssemblerModel model) {
        std::stable_partition(model.assigns_.begin(), model.assigns_.end(),
                              [](const std::string& s) { return s.find('"') != s.npos; });
        return model;
    };
    return quotedFirst(a) == quotedFirst(b);
}

// The list file is written only with the listing on; with it off the model
// keeps the path for the editor (a user may turn the listing on again), so
// it is compared only where it is written.
bool SameModel(const CompilerModel& a, const CompilerModel& b) {
    auto written = [](CompilerModel model) {
        if (model.listing_ != 1) model.listPath_ = {};
        return model;
    };
    return written(a) == written(b);
}

bool SameModel(const LinkerModel& a, const LinkerModel& b) {
    return static_cast<const ModelBase&>(a) == static_cast<const ModelBase&>(b) &&
           static_cast<const LinkerFields&>(a) == static_cast<const LinkerFields&>(b) &&
           a.Carried() == b.Carried();
}

template <class Make> void Check(std::string_view optionString, Make make) {
    auto first = make(optionString);
    std::string written = first.Write();
    auto second = make(written);
    if (!SameModel(first, second)) std::abort();
    if (second.Write() != written) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the model; the rest is the option string.
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
    case 0:
        Check(text, [](std::string_view s) { return CompilerModel("C source file", s); });
        break;
    case 1:
        Check(text, [](std::string_view s) { return AssemblerModel(s); });
        break;
    case 2:
        Check(text, [](std::string_view s) { return LinkerModel(s); });
        break;
    default:
        Check(text, [](std::string_view s) { return GeneratorModel(s); });
        break;
    }
    return 0;
}
