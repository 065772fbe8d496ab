// Loading and saving every category page of the four tool tabs for a
// selection of 2,000 models that all differ.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "sections/layout_tree.h"
#include "sheet/option_set.h"
#include "sheet/page_engine.h"
#include "sheet/tool_pages.h"

using namespace quorle;
using namespace quorle::sheet;

namespace {

constexpr int kModels = 2000;

std::string Text(int phase, int i) {
    const std::string n = std::to_string(i);
    switch (phase) {
    case 0:
        return "[S|DEFINES|D" + n + "] [S|INCDIR|\"$(PROJDIR)\\inc" + n + "\"] [I|OPTLV|" +
               std::to_string(1 + i % 3) + "] [B|FNOB|" + std::to_string(i % 2) +
               "] [S|CPUTYPE|CV2]";
    case 1:
        return "[S|DEFINES|A" + n + "] [I|DEBUGLV|" + std::to_string(i % 3) + "] [B|LOUTLIST|1]";
    case 2: {
        models::LinkerModel model("[S|OUTFILE|\"$(CONFIGDIR)\\out" + n + ".x\"] [S|ARCHIVE|l" + n +
                                  ".a] [B|MFILEGEN|" + std::to_string(i % 2) + "]");
        model.layout_.groups = sections::DefaultGroups();
        return model.Write();
    }
    default:
        return "[I|OPTTYPE|" + std::to_string(i % 3) + "] [S|OUTPUTPATH|\"lib" + n + ".a\"]";
    }
}

struct Selection {
    explicit Selection(int phase) {
        for (int i = 0; i < kModels; ++i) {
            auto set = std::make_unique<COptionSet>();
            set->phase = phase;
            set->id = i;
            set->model = MakeModel(phase, Text(phase, i));
            sets.push_back(std::move(set));
        }
        for (auto& set : sets) context.sets.push_back(set.get());
        context.shared = &shared;
    }
    std::vector<std::unique_ptr<COptionSet>> sets;
    SharedState shared;
    PageContext context;
};

Selection& SelectionOf(int phase) {
    static std::vector<std::unique_ptr<Selection>> selections(4);
    if (!selections[static_cast<size_t>(phase)])
        selections[static_cast<size_t>(phase)] = std::make_unique<Selection>(phase);
    return *selections[static_cast<size_t>(phase)];
}

void Load(benchmark::State& state, int phase, size_t index) {
    Selection& selection = SelectionOf(phase);
    auto pages = ToolTabPages(phase);
    for (auto _ : state) {
        pages[index]->Load(selection.context);
        benchmark::DoNotOptimize(pages[index]->States().data());
    }
}

// Saving with one control changed: its value goes into all 2,000 models.
void Save(benchmark::State& state, int phase, size_t index) {
    Selection& selection = SelectionOf(phase);
    auto pages = ToolTabPages(phase);
    CPage& page = *pages[index];
    page.Load(selection.context);
    size_t control = page.Controls().size();
    for (size_t i = 0; i < page.Controls().size() && control == page.Controls().size(); ++i) {
        const ControlDef& c = page.Controls()[i];
        if (page.States()[i].enabled && c.binding.set &&
            (c.kind == ControlKind::Check || c.kind == ControlKind::Text))
            control = i;
    }
    bool on = false;
    for (auto _ : state) {
        if (control < page.Controls().size()) {
            const ControlDef& c = page.Controls()[control];
            page.Set(control,
                     c.kind == ControlKind::Check ? Value{on ? "1" : "0"} : Value{on ? "a" : "b"});
            on = !on;
        }
        benchmark::DoNotOptimize(page.SaveAndValidate(SaveKind::Final));
    }
}

const bool registered = [] {
    for (int phase = 0; phase < 4; ++phase) {
        auto pages = ToolTabPages(phase);
        for (size_t i = 0; i < pages.size(); ++i) {
            const std::string name = "Tab" + std::to_string(phase) + "/" + pages[i]->ClassName();
            benchmark::RegisterBenchmark((name + "/Load").c_str(), [phase, i](benchmark::State& s) {
                Load(s, phase, i);
            })->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((name + "/Save").c_str(), [phase, i](benchmark::State& s) {
                Save(s, phase, i);
            })->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

} // namespace
