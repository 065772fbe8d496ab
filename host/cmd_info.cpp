// quorle-host info: the version answers and the catalogue.
#include <cstdio>

#include "host/commands.h"

namespace quorle::host {

int RunInfo(const CommandContext& context) {
    uint32_t major = 0, minor = 0;
    if (context.api.GetDLLInterfaceVersion(&major, &minor) != 0) {
        std::fprintf(stderr, "GetDLLInterfaceVersion failed\n");
        return 1;
    }
    std::printf("Interface version: %u.%u\n", major, minor);
    return 0;
}

} // namespace quorle::host
