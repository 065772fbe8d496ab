#include "wingui/handles.h"

#include <atomic>

namespace quorle::wingui {
namespace {
std::atomic<long> windows{0};
std::atomic<long> gdiObjects{0};
} // namespace

HandleCounts LiveHandles() {
    return HandleCounts{windows.load(), gdiObjects.load()};
}
void CountWindow(int delta) {
    windows += delta;
}
void CountGdiObject(int delta) {
    gdiObjects += delta;
}

} // namespace quorle::wingui
