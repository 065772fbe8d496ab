// One options-editor call from start to end: the resource library, the
// common-controls check, the host's records, the sibling library and the face
// that runs the sheet.
#pragma once

#include <optional>

#include "core/records.h"
#include "core/user_message.h"
#include "platform/platform.h"

namespace quorle::sheet {

inline constexpr const char* kNoResourceLibraryMessage = "Can not load resource dll";
inline constexpr const char* kNoTerminalMessage =
    "The options editor needs a terminal on standard input and output.\n"
    "Without one, set QUORLE_SHEET_SCRIPT to a script file to edit options.";
inline constexpr const char* kNoTerminalViewMessage =
    "The options editor cannot load its terminal view.\n"
    "Set QUORLE_SHEET_SCRIPT to a script file to edit options.";
inline constexpr const char* kSheetLogRefusedMessage =
    "The options editor cannot write its log (QUORLE_SHEET_LOG): it is not a regular file "
    "that can be written.";

// The file the change list of an OK that wrote is written to, one line per
// option, when this variable names one.
inline constexpr const char* kChangesVariable = "QUORLE_SHEET_CHANGES";

// True when the common-controls library is new enough for the sheet:
// version 5 or later, or a minor version of at least 71.
bool CommonControlsUsable(uint32_t major, uint32_t minor);

// Where the common-controls version comes from (the system's by default), so
// that a test can make it too old; returns the probe it replaces.
using CommonControlsProbe = std::optional<platform::CommonControlsVersion> (*)();
CommonControlsProbe SetCommonControlsProbe(CommonControlsProbe probe);

// The result (0 OK, -1 Cancel, 1 failure) and the box of a call that stopped
// before the sheet opened, which a scripted call only logs. The arguments are
// checked by the caller (non-null, record sizes).
struct EditRun {
    int result = 1;
    UserMessages messages;
    bool scripted = false;
};
EditRun RunEditOptions(QuorlePhaseRecord* const* phases, const char* pluginPath,
                       const QuorleProjectInfo& info);

} // namespace quorle::sheet
