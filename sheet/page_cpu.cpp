#include "sheet/page_cpu.h"

#include <algorithm>

#include "models/cpu_options.h"
#include "sheet/bindings.h"

namespace quorle::sheet {

namespace tc = quorle::toolchain;
using models::CheckState;

namespace {

std::string CheckWord(CheckState state) {
    switch (state) {
    case CheckState::Clear:
        return "0";
    case CheckState::Checked:
        return "1";
    case CheckState::Mixed:
        return "2";
    }
    return "2";
}

std::optional<CheckState> CheckOf(const std::string& word) {
    if (word == "0") return CheckState::Clear;
    if (word == "1") return CheckState::Checked;
    if (word == "2") return CheckState::Mixed;
    return std::nullopt;
}

ControlDef Choice(std::string label, std::string key, std::vector<std::string> values,
                  std::vector<std::string> labels, std::string help) {
    ControlDef c;
    c.kind = ControlKind::Choice;
    c.label = std::move(label);
    c.key = std::move(key);
    c.values = std::move(values);
    c.valueLabels = std::move(labels);
    c.help = std::move(help);
    return c;
}

std::vector<std::string> Numbers(int count) {
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) words.push_back(std::to_string(i));
    return words;
}

std::vector<std::string> Strings(std::span<const std::string_view> views) {
    return {views.begin(), views.end()};
}

} // namespace

CPageCpu::CPageCpu() {
    BuildControls();
}

void CPageCpu::BuildControls() {
    controls_.clear();
    std::vector<std::string> values, names;
    for (int row = 0; row < tc::CpuRowCount(family_); ++row) {
        values.emplace_back(tc::CpuRowAt(family_, row)->value);
        names.emplace_back(tc::CpuRowAt(family_, row)->displayName);
    }
    controls_.push_back(Choice("&CPU type:", "CPUTYPE", values, names,
                               "The CPU type; selects the target flags and libraries"));
    controls_.push_back(Choice("&Byte order:", "ENDIAN", {"BIG", "LITTLE"},
                               Strings(tc::ByteOrderLabels(family_)), "-mb / -ml"));
    auto options = tc::FamilyOptions(family_);
    auto keys = models::FamilyFlagKeys(family_);
    for (size_t i = 0; i < static_cast<size_t>(tc::kFamilyFlagCount); ++i) {
        ControlDef c;
        c.kind = ControlKind::Check3;
        if (i < options.size()) {
            c.label = std::string(options[i].label);
            c.help = std::string(options[i].flag);
        } else {
            c.hidden = true;
        }
        if (family_ == tc::kCodeZenta && i == static_cast<size_t>(tc::kZentaCpuSelectPos))
            c.key = "CPU";
        else if (i < keys.size() && !keys[i].empty())
            c.key = KeyOfToken(keys[i]);
        controls_.push_back(std::move(c));
    }
    const bool zenta = family_ == tc::kCodeZenta;
    ControlDef regs = Choice(std::string(tc::kZentaInterruptLabel), "RMINTREGVAL", Numbers(6),
                             Strings(tc::InterruptRegisterLabels()),
                             "Registers kept for the fast interrupt (-mint-register=N)");
    ControlDef constant = Choice(std::string(tc::kZentaMaxConstantLabel), "RMMAXCONSTVAL",
                                 Numbers(4), Strings(tc::MaxConstantLabels()),
                                 "Largest constant operand (-mmax-constant-size=N)");
    ControlDef box;
    box.kind = ControlKind::Check3;
    box.label = std::string(tc::kZentaSmallDataLabel);
    box.help = "Limit the small data area (-msmall-data-limit=N)";
    ControlDef limit;
    limit.kind = ControlKind::Text;
    limit.key = "RMMAXVARSVAL";
    limit.help = "The N of -msmall-data-limit=N, decimal";
    limit.enable = EnableRule{box.label, {"1"}};
    for (ControlDef* c : {&regs, &constant, &box, &limit}) {
        c->hidden = !zenta;
        controls_.push_back(std::move(*c));
    }
    states_.assign(controls_.size(), ControlState{});
}

models::CpuTabModels CPageCpu::SelectedModels() const {
    models::CpuTabModels out;
    for (COptionSet* set : context_.sets) {
        models::ModelBase* m = set->model.get();
        if (auto* c = As<models::CompilerModel>(m)) out.compilers.push_back(c);
        if (auto* a = As<models::AssemblerModel>(m)) out.assemblers.push_back(a);
        if (auto* l = As<models::LinkerModel>(m)) out.linkers.push_back(&l->cpu_);
        if (auto* g = As<models::GeneratorModel>(m)) out.generators.push_back(g);
    }
    return out;
}

// The row each selected model will have: the list's when one is chosen.
std::vector<int> CPageCpu::SelectionRows() const {
    if (state_.cpuPos >= 0) return {state_.cpuPos};
    std::vector<int> rows;
    models::CpuTabModels m = SelectedModels();
    for (auto* c : m.compilers)
        if (c->cpu_.familyCode_ == family_) rows.push_back(c->cpu_.cpuType_);
    for (auto* a : m.assemblers)
        if (a->familyCode_ == family_) rows.push_back(a->cpuType_);
    for (auto* l : m.linkers)
        if (l->familyCode_ == family_) rows.push_back(l->cpuType_);
    for (auto* g : m.generators)
        if (g->cpu_.familyCode_ == family_) rows.push_back(g->cpu_.cpuType_);
    return rows;
}

void CPageCpu::Load(const PageContext& context) {
    context_ = context;
    int family = context.shared != nullptr ? context.shared->familyCode : tc::kCodeNone;
    if (family != family_ || controls_.empty()) {
        family_ = family;
        BuildControls();
    }
    state_ = models::InitialCpuTabState(family_, SelectedModels());
    enabled_ = models::ApplyCpuChoiceRules(family_, SelectionRows(), state_);
    touched_ = false;
    Refresh();
}

void CPageCpu::Refresh() {
    auto pos = [](int p, size_t count) -> Value {
        return {p >= 0 && static_cast<size_t>(p) < count ? std::to_string(p) : std::string()};
    };
    const bool any = !context_.sets.empty();
    states_[kCpuType].value = {state_.cpuPos >= 0 && static_cast<size_t>(state_.cpuPos) <
                                                         controls_[kCpuType].values.size()
                                   ? controls_[kCpuType].values[static_cast<size_t>(state_.cpuPos)]
                                   : std::string()};
    states_[kCpuType].mixed = state_.cpuPos < 0;
    states_[kCpuType].enabled = any && !controls_[kCpuType].values.empty();
    states_[kByteOrder].value = {state_.byteOrderPos == 0   ? "BIG"
                                 : state_.byteOrderPos == 1 ? "LITTLE"
                                                            : ""};
    states_[kByteOrder].mixed = state_.byteOrderPos < 0;
    states_[kByteOrder].enabled = any && enabled_.byteOrder;
    for (size_t i = 0; i < static_cast<size_t>(tc::kFamilyFlagCount); ++i) {
        ControlState& s = states_[kFirstFlag + i];
        s.value = {CheckWord(state_.checks[i])};
        s.mixed = state_.checks[i] == CheckState::Mixed;
        s.enabled = any && !controls_[kFirstFlag + i].hidden && enabled_.checks[i];
    }
    const bool zenta = family_ == tc::kCodeZenta && any;
    states_[kIntRegisters].value = pos(state_.intRegPos, 6);
    states_[kIntRegisters].mixed = state_.intRegPos < 0;
    states_[kIntRegisters].enabled = zenta;
    states_[kMaxConstant].value = pos(state_.maxConstPos, 4);
    states_[kMaxConstant].mixed = state_.maxConstPos < 0;
    states_[kMaxConstant].enabled = zenta;
    states_[kSmallDataBox].value = {CheckWord(state_.smallDataBox)};
    states_[kSmallDataBox].mixed = state_.smallDataBox == CheckState::Mixed;
    states_[kSmallDataBox].enabled = zenta;
    states_[kSmallDataLimit].value = {state_.smallDataText};
    states_[kSmallDataLimit].enabled = zenta && state_.smallDataBox != CheckState::Clear;
}

SetOutcome CPageCpu::Set(size_t control, const Value& value) {
    if (control >= controls_.size()) return SetOutcome::BadValue;
    if (!states_[control].enabled) return SetOutcome::Disabled;
    if (value.size() != 1) return SetOutcome::BadValue;
    const std::string& word = value.front();
    const ControlDef& def = controls_[control];
    if (def.kind == ControlKind::Choice) {
        auto it = std::find(def.values.begin(), def.values.end(), word);
        if (it == def.values.end()) return SetOutcome::BadValue;
        int position = static_cast<int>(it - def.values.begin());
        if (control == kCpuType) {
            state_.cpuPos = position;
            enabled_ = models::ApplyCpuChoiceRules(family_, SelectionRows(), state_);
        } else if (control == kByteOrder) {
            state_.byteOrderPos = position;
        } else if (control == kIntRegisters) {
            state_.intRegPos = position;
        } else {
            state_.maxConstPos = position;
        }
    } else if (def.kind == ControlKind::Check3) {
        auto check = CheckOf(word);
        if (!check) return SetOutcome::BadValue;
        if (control == kSmallDataBox) {
            state_.smallDataBox = *check;
        } else {
            int position = static_cast<int>(control - kFirstFlag);
            state_.checks[static_cast<size_t>(position)] = *check;
            enabled_ = models::OnCpuCheckChanged(family_, position, state_, enabled_);
        }
    } else {
        state_.smallDataText = word;
    }
    touched_ = true;
    Refresh();
    states_[control].touched = true;
    return SetOutcome::Done;
}

bool CPageCpu::SaveAndValidate(SaveKind kind) {
    // An untouched tab leaves every model as it is; the tab has no preview.
    if (!touched_ || kind == SaveKind::Preview) return true;
    models::CpuTabModels selected = SelectedModels();
    CMessageSink* sink = context_.messages;
    auto confirm = [sink](const std::string& text) {
        return sink == nullptr ||
               sink->Show(kCaptionWarning, text, platform::MessageButtons::OkCancel) ==
                   platform::MessageAnswer::Ok;
    };
    models::CpuApplyResult result = models::ApplyCpuTab(family_, state_, selected, confirm);
    for (const std::string& message : result.messages) {
        if (message == models::kCpuChangeWarning) continue; // asked through `confirm`
        if (sink != nullptr) sink->Show(kCaptionWarning, message, platform::MessageButtons::Ok);
    }
    return result.outcome == models::CpuApplyOutcome::Applied;
}

} // namespace quorle::sheet
