#include "host/build_order.h"

namespace quorle::host {

size_t PlaceOrder(std::string_view place) {
    for (size_t i = 0; i < kBuildOrder.size(); ++i)
        if (kBuildOrder[i].place == place) return i;
    return kBuildOrder.size();
}

std::string_view PlaceVerb(std::string_view place) {
    size_t order = PlaceOrder(place);
    return order < kBuildOrder.size() ? kBuildOrder[order].verb : "Running";
}

std::string ToolOf(std::string_view place, std::string_view fileType, bool useGccToLink) {
    size_t order = PlaceOrder(place);
    if (order == kBuildOrder.size()) return "";
    if (place == kCompilePlace && fileType == "C++ source file") return "g++";
    if (place == kLinkPlace && useGccToLink) return "gcc";
    return std::string(kBuildOrder[order].tool);
}

} // namespace quorle::host
