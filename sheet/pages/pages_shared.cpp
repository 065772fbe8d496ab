// The pages outside the tool tabs that are plain data: Toolchain Option,
// Warning and Simulator.
#include "core/phase.h"
#include "models/debugger_model.h"
#include "resources/sheet_strings.h"
#include "sheet/bindings.h"
#include "sheet/pages/pages.h"
#include "toolchain/family.h"

namespace quorle::sheet {

namespace {

constexpr unsigned kAllPhases = 0x1F; // phases 0-4

ControlDef Box(ControlKind kind, std::string label, std::string key, Binding binding,
               std::string help) {
    ControlDef c;
    c.kind = kind;
    c.label = std::move(label);
    c.key = std::move(key);
    c.binding = std::move(binding);
    c.help = std::move(help);
    return c;
}

ControlDef Button(std::string label) {
    ControlDef c;
    c.kind = ControlKind::Button;
    c.label = std::move(label);
    return c;
}

// A memory resource must read as one and lie apart from the others.
std::optional<std::string> CheckMemoryResource(const std::string& entry, const Value& others) {
    auto resource = models::ParseMemoryResource(entry);
    if (!resource) return SheetString(kStrMemoryResourceForm);
    for (const std::string& other : others) {
        auto parsed = models::ParseMemoryResource(other);
        if (parsed && models::Overlaps(*resource, *parsed))
            return SheetString(kStrMemoryResourceOverlap);
    }
    return std::nullopt;
}

} // namespace

PageData ToolOptionPage() {
    PageData page{"Toolchain Option", "CTabToolOption", {}};
    page.controls.push_back(Box(ControlKind::Check3, SheetText(sheet_strings::kSkipDependencyScan),
                                "SKIPDEPENDENCY",
                                BindBuildControl(&models::ModelBase::skipDependency_, kAllPhases),
                                "Files that do not exist are left out of the dependency scan"));
    page.controls.push_back(
        Box(ControlKind::Check3, SheetText(sheet_strings::kSupportDependencyScan), "DEPENDSCAN",
            BindBuildControl(&models::ModelBase::dependScan_, 1u << kPhaseCompiler),
            "The dependency scan follows the preprocessor (gcc -M)"));
    page.controls.push_back(Box(ControlKind::Check, SheetText(sheet_strings::kConfirmModified), "",
                                BindSettingsBit(toolchain::kConfirmModifiedOptions),
                                "Ask before the sheet closes with modified options"));
    page.controls.push_back(Box(ControlKind::Check, SheetText(sheet_strings::kExpandPlaceholders),
                                "", BindSettingsBit(toolchain::kShowPlaceholdersExpanded),
                                "File lists show placeholders with their values"));
    ControlDef batch = Box(ControlKind::Check, SheetText(sheet_strings::kMapBatchFile), "", {}, "");
    batch.hidden = true;
    page.controls.push_back(std::move(batch));
    ControlDef unit =
        Box(ControlKind::Check, SheetText(sheet_strings::kCpuInProjectUnit), "", {}, "");
    unit.hidden = true;
    page.controls.push_back(std::move(unit));
    return page;
}

PageData WarningPage() {
    PageData page{"Warning", "CTabWarning", {}};
    ControlDef text;
    text.kind = ControlKind::Label;
    text.label = SheetText(sheet_strings::kWarningText);
    page.controls.push_back(std::move(text));
    return page;
}

PageData SimulatorPage() {
    PageData page{"Simulator", "CTabDebugger", {}};
    ControlDef list;
    list.kind = ControlKind::List;
    list.label = SheetText(sheet_strings::kMemoryResourceLabel);
    list.key = "MEMRES";
    list.binding = BindList<models::DebuggerModel>(&models::DebuggerModel::memoryResources_);
    list.help = "Address ranges the simulator maps: start,end,type (RAM, ROM or IO)";
    list.checkEntry = CheckMemoryResource;
    page.controls.push_back(std::move(list));
    page.controls.push_back(Button(SheetText(sheet_strings::kView)));
    page.controls.push_back(Button(SheetText(sheet_strings::kAdd)));
    page.controls.push_back(Button(SheetText(sheet_strings::kModify)));
    page.controls.push_back(Button(SheetText(sheet_strings::kRemove)));
    return page;
}

} // namespace quorle::sheet
