// The GNU link text: newline-separated arguments for ld, or for the gcc
// driver acting as the linker, and the linker input file that names the
// objects through INPUT commands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/user_message.h"
#include "models/linker_model.h"

namespace quorle::cmdline {

inline constexpr size_t kFoldLength = 511;
inline constexpr std::string_view kGccMarker = "--use-gcc-to-link";

// ld's flags of the model's 21 switches, in switch order.
models::KeyList LinkerSwitchFlags();

// An ld option as written for the model: "-Wl," in front when gcc links.
std::string LdOption(const models::LinkerModel& model, std::string_view option);

// "--use-gcc-to-link" when gcc links, else "".
std::string GccMarker(const models::LinkerModel& model);

// The option lines of the link, without inputs, joined by newlines. A
// sub-command file of unknown type gives no lines and a message.
struct OptionLineText {
    std::string text;
    UserMessages messages;
};
OptionLineText LinkerOptionLines(const models::LinkerModel& model);

// The section start, forced-symbol, CPU check and ps_check lines.
std::string SymbolCheckLines(const models::LinkerModel& model);

// Folds every line of 511 characters or more after each "," and ":" (", &"
// and ": &" then a line break); shorter lines are left alone.
std::string FoldLongLines(std::string_view text);

// The line that names the linker input file: `-T "<path>" ` for ld, and
// `-Xlinker -T -Xlinker "<path>" ` when gcc drives the link, so that ld
// reads the objects where the line stands, before the libraries.
inline constexpr std::string_view kGccInputFileOption = "-Xlinker -T -Xlinker ";
std::string LinkerInputFileLine(const models::LinkerModel& model, std::string_view path);

// Path of the linker input file: `directory`, the output's base name with
// blanks as "~", "_input.tmp".
std::string LinkerInputFilePath(const models::LinkerModel& model, std::string_view directory);

struct LinkTextResult {
    bool ok = false;
    // Objects whose INPUT line could not be written to the linker input file.
    std::vector<std::string> unwrittenInputs;
    // For the user, in order: an unknown sub-command type, unwritten inputs.
    UserMessages messages;
};

// Builds the link text into `out`. With `inputFile` set (and objects not on
// the command line) the objects go to the linker input file in `directory`,
// which is created anew. Fails on an input without "|" or of an unknown kind;
// `out` then holds the text built so far. Unless `skipReorder`, the inputs are
// first reordered by the model's link order lists (which changes the model).
LinkTextResult BuildLinkText(models::LinkerModel& model, std::vector<std::string> inputs,
                             std::string& out, std::string_view directory, bool inputFile,
                             bool skipReorder = false);

} // namespace quorle::cmdline
