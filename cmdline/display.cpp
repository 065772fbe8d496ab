#include "cmdline/display.h"

#include "core/ascii_text.h"
#include "core/limits.h"
#include "platform/platform.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"
#include <algorithm>

namespace quorle {
namespace {

using core::StartsWithIgnoringCase;

struct DisplayEvent {
    std::string_view key;
    int stringId;
};

constexpr DisplayEvent kDisplayEvents[] = {
    {"PHASE_START", strings::kDisplayPhaseStart}, {"FILE_START", strings::kDisplayFileStart},
    {"STEP_START", strings::kDisplayStepStart},   {"STEP_END", strings::kDisplayStepEnd},
    {"FILE_END", strings::kDisplayFileEnd},       {"PHASE_END", strings::kDisplayPhaseEnd},
};

// The library build takes minutes; the host shows this while it waits.
constexpr std::string_view kGeneratorDisplayName = "GNU Library Generator";
constexpr std::string_view kGeneratorStartText = "Please wait...This may take a few minutes\n";

// A linker script line is read in pieces of at most this many characters.
constexpr size_t kScriptPiece = 269;

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           StartsWithIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// Lines without their line feed; a last line without one still counts.
template <typename Fn> void ForEachLine(std::string_view text, Fn fn) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            fn(text);
            return;
        }
        fn(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
}

// A sub-command line naming a temporary linker script: -T "<path>.tmp" with a
// trailing blank, or the same after "-Xlinker -T -Xlinker " as a gcc-driven
// link names its linker input file. Returns the path between the quotes.
std::optional<std::string_view> TemporaryScriptPath(std::string_view line) {
    constexpr std::string_view kSuffix = ".tmp\" ";
    size_t prefix = 0;
    if (StartsWithIgnoringCase(line, "-T "))
        prefix = 4;
    else if (StartsWithIgnoringCase(line, "-Xlinker -T -Xlinker "))
        prefix = 22;
    if (prefix == 0 || !EndsWithIgnoringCase(line, kSuffix)) return std::nullopt;
    // The path starts after the opening quote and ends with "tmp"; a line too
    // short to hold both quotes names nothing.
    if (line.size() < prefix + kSuffix.size()) return std::nullopt;
    return line.substr(prefix, line.size() - prefix - 2);
}

// Not fitting when the script would take the display text past
// kMaxTextBytes. A script that cannot be read is left out with a message.
struct ScriptAppend {
    bool fits = true;
    std::optional<UserMessage> message;
};

ScriptAppend AppendScript(std::string& text, std::string_view path) {
    auto script = platform::ReadFile(std::string(path), true);
    if (!script) return {true, ErrorText("Error reading input subcommand file")};
    // Each piece of at most kScriptPiece bytes gains an indent of 8.
    size_t indents = (script->size() / kScriptPiece + 1 +
                      static_cast<size_t>(std::count(script->begin(), script->end(), '\n'))) *
                     8;
    if (text.size() + script->size() + indents > kMaxTextBytes) return {false, std::nullopt};
    // Each piece is shown as read: a line longer than a piece continues on
    // the next indented row, and a last line without line feed keeps none.
    std::string_view rest = *script;
    while (!rest.empty()) {
        // Only the next piece is searched: a long line would otherwise be
        // scanned to its end once per piece.
        size_t end = rest.substr(0, kScriptPiece).find('\n');
        size_t take = end == std::string_view::npos ? std::min(rest.size(), kScriptPiece) : end + 1;
        text += "        ";
        text += rest.substr(0, take);
        rest.remove_prefix(take);
    }
    return {};
}

} // namespace

std::optional<std::string> DisplayEventText(std::string_view phaseDisplayName,
                                            std::string_view eventKey) {
    for (const DisplayEvent& event : kDisplayEvents) {
        if (event.key != eventKey) continue;
        auto text = LoadModuleString(event.stringId);
        if (!text) return std::nullopt;
        if (phaseDisplayName == kGeneratorDisplayName && eventKey == "PHASE_START")
            return std::string(kGeneratorStartText);
        return text;
    }
    return std::nullopt;
}

DisplayText CommandLineDisplayText(std::string_view command) {
    // The file path runs from after the first double quote (or from the start
    // when there is none) up to the command's closing quote, its last
    // character. A command too short to hold a path names none.
    size_t quote = command.find('"');
    size_t begin = quote == std::string_view::npos ? 0 : quote + 1;
    size_t end = command.empty() ? 0 : command.size() - 1;
    std::string path =
        begin < end ? std::string(command.substr(begin, end - begin)) : std::string();

    auto content = path.empty() ? std::nullopt : platform::ReadFile(path, true);
    if (!content) return {"\nCan not open sub-command file.", {}};

    std::string text = " ";
    text += command;
    text += '\n';
    bool fits = true;
    UserMessages messages;
    ForEachLine(*content, [&text, &fits, &messages](std::string_view line) {
        if (!fits) return;
        text += "    ";
        text += line;
        text += '\n';
        if (text.size() > kMaxTextBytes) {
            fits = false;
            return;
        }
        if (auto script = TemporaryScriptPath(line)) {
            ScriptAppend appended = AppendScript(text, *script);
            fits = appended.fits;
            if (appended.message) messages.push_back(std::move(*appended.message));
        }
    });
    // A text past the cap is not shown at all: the call fails.
    if (!fits) return {{}, std::move(messages)};
    return {std::move(text), std::move(messages)};
}

} // namespace quorle
