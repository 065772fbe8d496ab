#include "cmdline/link_lines.h"

#include "options/option_string.h"

namespace quorle::cmdline {

void AddLine(std::string& text, std::string_view line) {
    options::AppendToken(text, line, '\n');
}

bool FormAllowsSymbols(const models::LinkerModel& model) {
    return model.outputForm_ == models::kFormDefault || model.outputForm_ == models::kFormBoth;
}

bool FormAllowsBinaries(int form) {
    return form == models::kFormDefault || form == models::kFormBoth || form == models::kFormHex ||
           form == models::kFormStype || form == models::kFormBinary;
}

BarSplit SplitBarLines(std::string_view text) {
    BarSplit split;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.front() == '|')
            AddLine(split.barred, line.substr(1));
        else
            AddLine(split.plain, line);
        start = end + 1;
    }
    return split;
}

} // namespace quorle::cmdline
