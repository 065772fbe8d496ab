// One options-editor call from start to end: the resource library, the
// common-controls check, the host's records, the sibling library and the face
// that runs the sheet.
#pragma once

#include "core/records.h"

namespace quorle::sheet {

inline constexpr const char* kNoResourceLibraryMessage = "Can not load resource dll";

// True when the common-controls library is new enough for the sheet:
// version 5 or later, or a minor version of at least 71.
bool CommonControlsUsable(uint32_t major, uint32_t minor);

// 0 OK, -1 Cancel, 1 failure. The arguments are checked by the caller
// (non-null, record sizes).
int RunEditOptions(QuorlePhaseRecord* const* phases, const char* pluginPath,
                   const QuorleProjectInfo& info);

} // namespace quorle::sheet
