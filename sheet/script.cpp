#include "sheet/script.h"

#include "platform/platform.h"
#include "resources/sheet_strings.h"

namespace quorle::sheet {

bool ScriptReader::Next(ScriptLine& line) {
    while (position_ < text_.size()) {
        size_t end = text_.find('\n', position_);
        if (end == std::string::npos) end = text_.size();
        size_t begin = position_;
        position_ = end + 1;
        ++number_;
        if (end > begin && text_[end - 1] == '\r') --end;
        if (end == begin || text_[begin] == '#') continue;
        size_t solid = text_.find_first_not_of(" \t", begin);
        if (solid == std::string::npos || solid >= end) continue;
        line.number = number_;
        line.fields.clear();
        line.tooManyFields = false;
        for (size_t from = begin;;) {
            if (line.fields.size() == kMaxScriptFields) {
                line.tooManyFields = true;
                break;
            }
            size_t tab = text_.find('\t', from);
            if (tab == std::string::npos || tab > end) tab = end;
            line.fields.emplace_back(text_, from, tab - from);
            if (tab == end) break;
            from = tab + 1;
        }
        return true;
    }
    return false;
}

void CTranscript::Line(const std::string& name, const std::string& value) const {
    if (!path_ || path_->empty()) return;
    platform::AppendToLog(*path_, name + ": " + value + "\n");
}

bool CTranscript::Usable() const {
    return !path_ || path_->empty() || platform::AppendToLog(*path_, "");
}

void CTranscript::Raw(const std::string& text) const {
    if (!path_ || path_->empty()) return;
    platform::AppendToLog(*path_, text);
}

void CTranscriptObserver::OnTabsChanged(const std::vector<std::string>& titles) {
    std::string joined;
    for (const std::string& title : titles) joined += (joined.empty() ? "" : "|") + title;
    transcript_.Line("tabs", joined);
}

void CTranscriptObserver::OnCategoryShown(const std::string& label) {
    transcript_.Line("category", label);
}

void CTranscriptObserver::OnPreview(const std::string& text) {
    transcript_.Line("preview", text);
}

platform::MessageAnswer CLoggedMessages::Show(const std::string& caption, const std::string& text,
                                              platform::MessageButtons buttons) {
    return platform::LogMessageBox(caption, text, buttons);
}

namespace {

struct Failure {
    std::string why;
};

std::string Rest(const std::vector<std::string>& fields, size_t from) {
    std::string joined;
    for (size_t i = from; i < fields.size(); ++i) joined += (i > from ? "\t" : "") + fields[i];
    return joined;
}

// Carries out one line: a result to close with, nothing to go on, or a
// failure.
std::optional<int> RunLine(CSheetBase& sheet, const ScriptLine& line, const CTranscript& transcript,
                           std::optional<Failure>& failure) {
    const std::vector<std::string>& f = line.fields;
    const std::string& command = f.front();
    auto refusedOrFail = [&](CommandResult result, const std::string& what) -> std::optional<int> {
        switch (result) {
        case CommandResult::Done:
            break;
        case CommandResult::Refused:
            transcript.Line("refused", std::to_string(line.number));
            break;
        case CommandResult::Unknown:
            failure = Failure{"unknown " + what};
            break;
        case CommandResult::Disabled:
            failure = Failure{"disabled control: " + what};
            break;
        case CommandResult::BadValue:
            failure = Failure{"value not allowed for " + what};
            break;
        }
        return std::nullopt;
    };
    if (command == "ok" && f.size() == 1) {
        std::optional<int> result = sheet.Ok();
        if (!result) transcript.Line("refused", std::to_string(line.number));
        return result;
    }
    if (command == "cancel" && f.size() == 1) return sheet.Cancel();
    if (command == "dump" && f.size() == 1) {
        transcript.Line("dump", "begin");
        std::string dump = sheet.Dump();
        if (!dump.empty() && dump.back() != '\n') dump += '\n';
        transcript.Raw(dump);
        transcript.Line("dump", "end");
        return std::nullopt;
    }
    if (command == "config" && f.size() >= 2) {
        std::vector<std::string> names;
        if (f[1] == SheetText(sheet_strings::kMultipleConfigurations)) {
            names.assign(f.begin() + 2, f.end());
        } else if (f.size() == 2) {
            names = {f[1]};
        }
        return refusedOrFail(sheet.ShowConfigurations(names), "configuration: " + Rest(f, 1));
    }
    if ((command == "select" || command == "add") && (f.size() == 3 || f.size() == 4)) {
        bool hasTarget = f.size() == 4;
        auto node = sheet.Tree().Find(f[1], f[2], hasTarget ? f[3] : std::string(), hasTarget);
        if (!node) {
            failure = Failure{"unknown leaf: " + Rest(f, 1)};
            return std::nullopt;
        }
        return refusedOrFail(sheet.Select({*node}, command == "add"), "leaf: " + Rest(f, 1));
    }
    if (command == "tab" && f.size() == 2)
        return refusedOrFail(sheet.ActivateTab(f[1]), "tab: " + f[1]);
    if (command == "category" && f.size() == 2)
        return refusedOrFail(sheet.ShowCategory(f[1]), "category: " + f[1]);
    if (command == "set" && f.size() >= 3) {
        Value value(f.begin() + 2, f.end());
        return refusedOrFail(sheet.SetControl(f[1], value), "key or label: " + f[1]);
    }
    if (command == "list" && f.size() >= 3) {
        std::vector<std::string> args(f.begin() + 3, f.end());
        return refusedOrFail(sheet.EditList(f[1], f[2], args), "list: " + Rest(f, 1));
    }
    if (command == "press" && f.size() == 2)
        return refusedOrFail(sheet.Press(f[1]), "button: " + f[1]);
    if (command == "section" && f.size() >= 2) {
        std::vector<std::string> fields(f.begin() + 1, f.end());
        return refusedOrFail(sheet.SectionCommand(fields), "section command: " + Rest(f, 1));
    }
    failure = Failure{"unknown command: " + Rest(f, 0)};
    return std::nullopt;
}

} // namespace

int RunScript(CSheetBase& sheet, const std::string& script, const CTranscript& transcript) {
    ScriptReader reader(script);
    for (ScriptLine line; reader.Next(line);) {
        std::optional<Failure> failure;
        std::optional<int> closed;
        if (line.tooManyFields)
            failure =
                Failure{"more than " + std::to_string(kMaxScriptFields) + " fields on one line"};
        else
            closed = RunLine(sheet, line, transcript, failure);
        if (failure) {
            transcript.Line("error", std::to_string(line.number) + ": " + failure->why);
            return 1;
        }
        if (closed) return *closed;
    }
    return sheet.Cancel();
}

} // namespace quorle::sheet
