// A picture of the memory map as SVG: one column per memory region, its
// sections drawn to scale from the region's start (bottom) to its end (top),
// each labelled with its name and size, and the used and free space of the
// region written above and inside it.
#pragma once

#include <string>

#include "host/memory_use.h"

namespace quorle::host {

// `title` names the program ("firmware.x (DEBUG)"). A layout without
// regions gives one column over the span of the program's sections.
std::string MemoryMapSvg(const MemoryUse& use, const std::string& title);

} // namespace quorle::host
