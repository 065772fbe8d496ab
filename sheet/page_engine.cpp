#include "sheet/page_engine.h"

#include <algorithm>
#include <limits>

#include "options/option_string.h"
#include "sheet/default_model.h"

namespace quorle::sheet {
namespace {

// The value a control shows when it applies to no model.
Value ClearedValue(const ControlDef& control) {
    switch (control.kind) {
    case ControlKind::Check:
    case ControlKind::Check3:
        return {"0"};
    case ControlKind::List:
        return {};
    default:
        return {""};
    }
}

bool IsNumber(const std::string& text) {
    size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (start >= text.size()) return false;
    return std::all_of(text.begin() + static_cast<long>(start), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

CControlPage::CControlPage(PageData data) : data_(std::move(data)) {
    states_.resize(data_.controls.size());
}

std::vector<models::ModelBase*> CControlPage::ModelsOf(const ControlDef& control) const {
    std::vector<models::ModelBase*> out;
    for (COptionSet* set : context_.sets) {
        if (set->phase >= 0 && (control.binding.phases & (1u << set->phase)) != 0)
            out.push_back(set->model.get());
    }
    return out;
}

void CControlPage::Load(const PageContext& context) {
    context_ = context;
    for (size_t i = 0; i < data_.controls.size(); ++i) {
        const ControlDef& control = data_.controls[i];
        ControlState state;
        if (control.binding.getShared && context_.shared != nullptr) {
            state.value = control.binding.getShared(*context_.shared);
        } else if (control.binding.get) {
            auto models = ModelsOf(control);
            if (models.empty()) {
                state.value = ClearedValue(control);
                state.enabled = false;
            } else {
                state.value = control.binding.get(*models.front());
                for (size_t m = 1; m < models.size() && !state.mixed; ++m)
                    state.mixed = control.binding.get(*models[m]) != state.value;
                if (state.mixed)
                    state.value = control.kind == ControlKind::Check3 ? Value{"2"} : Value{};
            }
        } else {
            state.value = ClearedValue(control);
        }
        if (control.hidden) state.enabled = false;
        states_[i] = std::move(state);
    }
    UpdateEnabled();
}

bool CControlPage::RuleHolds(const EnableRule& rule) const {
    if (rule.control.empty()) return true;
    auto index = FindControl(rule.control);
    if (!index) return true;
    const ControlState& state = states_[*index];
    if (state.mixed && !state.touched) return true;
    std::string value = state.value.empty() ? std::string() : state.value.front();
    return std::find(rule.values.begin(), rule.values.end(), value) != rule.values.end();
}

void CControlPage::UpdateEnabled() {
    for (size_t i = 0; i < data_.controls.size(); ++i) {
        const ControlDef& control = data_.controls[i];
        bool usable = !control.hidden;
        if (control.binding.get && !control.binding.getShared)
            usable = usable && !ModelsOf(control).empty();
        states_[i].enabled = usable && RuleHolds(control.enable);
    }
}

SetOutcome CControlPage::CheckEntries(const ControlDef& control, const Value& entries) {
    if (!control.checkEntry) return SetOutcome::Done;
    for (size_t i = 0; i < entries.size(); ++i) {
        Value others = entries;
        others.erase(others.begin() + static_cast<long>(i));
        if (auto message = control.checkEntry(entries[i], others)) {
            if (context_.messages != nullptr)
                context_.messages->Show(kCaptionWarning, *message, platform::MessageButtons::Ok);
            return SetOutcome::Refused;
        }
    }
    return SetOutcome::Done;
}

SetOutcome CControlPage::Set(size_t index, const Value& value) {
    if (index >= data_.controls.size()) return SetOutcome::BadValue;
    const ControlDef& control = data_.controls[index];
    ControlState& state = states_[index];
    if (!state.enabled || control.kind == ControlKind::Label || control.kind == ControlKind::Button)
        return SetOutcome::Disabled;
    const std::string word = value.empty() ? std::string() : value.front();
    switch (control.kind) {
    case ControlKind::Check:
        if (value.size() != 1 || (word != "0" && word != "1")) return SetOutcome::BadValue;
        break;
    case ControlKind::Check3:
        if (value.size() != 1 || (word != "0" && word != "1" && word != "2"))
            return SetOutcome::BadValue;
        break;
    case ControlKind::Choice:
        if (value.size() != 1 ||
            std::find(control.values.begin(), control.values.end(), word) == control.values.end())
            return SetOutcome::BadValue;
        break;
    case ControlKind::Text:
    case ControlKind::Number:
        if (value.size() != 1) return SetOutcome::BadValue;
        break;
    case ControlKind::List: {
        SetOutcome checked = CheckEntries(control, value);
        if (checked != SetOutcome::Done) return checked;
        break;
    }
    default:
        return SetOutcome::Disabled;
    }
    state.value = value;
    state.mixed = control.kind == ControlKind::Check3 && word == "2";
    state.touched = true;
    UpdateEnabled();
    return SetOutcome::Done;
}

SetOutcome CControlPage::ListAdd(size_t index, const std::string& entry) {
    if (index >= data_.controls.size() || data_.controls[index].kind != ControlKind::List)
        return SetOutcome::BadValue;
    Value entries = states_[index].value;
    entries.push_back(entry);
    return Set(index, entries);
}

SetOutcome CControlPage::ListModify(size_t index, size_t position, const std::string& entry) {
    if (index >= data_.controls.size() || data_.controls[index].kind != ControlKind::List ||
        position >= states_[index].value.size())
        return SetOutcome::BadValue;
    Value entries = states_[index].value;
    entries[position] = entry;
    return Set(index, entries);
}

SetOutcome CControlPage::ListRemove(size_t index, size_t position) {
    if (index >= data_.controls.size() || data_.controls[index].kind != ControlKind::List ||
        position >= states_[index].value.size())
        return SetOutcome::BadValue;
    Value entries = states_[index].value;
    entries.erase(entries.begin() + static_cast<long>(position));
    return Set(index, entries);
}

std::string CControlPage::NumberMessage(size_t i) const {
    const ControlDef& control = data_.controls[i];
    const ControlState& state = states_[i];
    if (control.kind != ControlKind::Number || !state.touched || !state.enabled) return {};
    const std::string text = state.value.empty() ? std::string() : state.value.front();
    if (!IsNumber(text)) return SheetString(kStrInteger);
    int64_t number = options::ParseDecimal(text, std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max(), 0, true);
    if (number < control.minimum || number > control.maximum)
        return FormatRangeMessage(kStrIntegerRange, control.minimum, control.maximum);
    return {};
}

bool CControlPage::SaveAndValidate(SaveKind kind) {
    std::vector<bool> valid(data_.controls.size(), true);
    for (size_t i = 0; i < data_.controls.size(); ++i) {
        std::string message = NumberMessage(i);
        if (message.empty()) continue;
        if (kind == SaveKind::Preview) {
            valid[i] = false;
            continue;
        }
        if (context_.messages != nullptr)
            context_.messages->Show(kCaptionWarning, message, platform::MessageButtons::Ok);
        return false;
    }
    for (size_t i = 0; i < data_.controls.size(); ++i) {
        const ControlDef& control = data_.controls[i];
        const ControlState& state = states_[i];
        if (!valid[i] || !state.touched || !state.enabled || state.mixed) continue;
        if (control.binding.setShared && context_.shared != nullptr) {
            control.binding.setShared(*context_.shared, state.value);
        } else if (control.binding.set) {
            for (models::ModelBase* model : ModelsOf(control))
                control.binding.set(*model, state.value);
        }
    }
    return true;
}

} // namespace quorle::sheet

namespace quorle::sheet {

SetOutcome CControlPage::ListMove(size_t index, size_t from, size_t to) {
    if (index >= data_.controls.size() || data_.controls[index].kind != ControlKind::List ||
        from >= states_[index].value.size() || to >= states_[index].value.size())
        return SetOutcome::BadValue;
    Value entries = states_[index].value;
    std::string entry = entries[from];
    entries.erase(entries.begin() + static_cast<long>(from));
    entries.insert(entries.begin() + static_cast<long>(to), entry);
    return Set(index, entries);
}

SetOutcome CControlPage::Press(size_t index) {
    if (index >= data_.controls.size() || data_.controls[index].kind != ControlKind::Button ||
        !states_[index].enabled)
        return SetOutcome::Disabled;
    if (PlainLabel(data_.controls[index].label) != kRestoreDefaults) return SetOutcome::Disabled;
    RestoreDefaults();
    return SetOutcome::Done;
}

void CControlPage::RestoreDefaults() {
    // Each model gets its own default (a C++ file's output extension is not a
    // C file's), so the defaults are written at once rather than shown and
    // written on save; the page then shows what the models hold.
    for (size_t i = 0; i < data_.controls.size(); ++i) {
        const ControlDef& control = data_.controls[i];
        if (!control.binding.set || !control.binding.get || control.hidden) continue;
        for (models::ModelBase* model : ModelsOf(control)) {
            std::unique_ptr<models::ModelBase> fresh = DefaultModelLike(*model);
            if (fresh) control.binding.set(*model, control.binding.get(*fresh));
        }
    }
    Load(context_);
}

} // namespace quorle::sheet
