#include "sheet/script.h"

#include "platform/platform.h"
#include "resources/sheet_strings.h"

namespace quorle::sheet {

std::vector<ScriptLine> ParseScript(const std::string& text) {
    std::vector<ScriptLine> lines;
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        ScriptLine parsed{number, {}};
        size_t from = 0;
        while (true) {
            size_t tab = line.find('\t', from);
            parsed.fields.push_back(line.substr(from, tab == std::string::npos ? tab : tab - from));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        lines.push_back(std::move(parsed));
    }
    return lines;
}

void CTranscript::Line(const std::string& name, const std::string& value) const {
    if (!path_ || path_->empty()) return;
    platform::WriteFile(*path_, name + ": " + value + "\n", false, true);
}

void CTranscript::Raw(const std::string& text) const {
    if (!path_ || path_->empty()) return;
    platform::WriteFile(*path_, text, false, true);
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
        if (f[1] == SheetText(sheet_strings::kMultipleConfigurations, kMultipleConfigurations)) {
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

int RunScript(CSheetBase& sheet, const std::vector<ScriptLine>& lines,
              const CTranscript& transcript) {
    for (const ScriptLine& line : lines) {
        std::optional<Failure> failure;
        std::optional<int> closed = RunLine(sheet, line, transcript, failure);
        if (failure) {
            transcript.Line("error", std::to_string(line.number) + ": " + failure->why);
            return 1;
        }
        if (closed) return *closed;
    }
    return sheet.Cancel();
}

} // namespace quorle::sheet
