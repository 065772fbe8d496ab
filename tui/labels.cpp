#include "tui/labels.h"

#include "sheet/control.h"

namespace quorle::tui {

std::string PlainText(const std::string& label) {
    return sheet::PlainLabel(label);
}

} // namespace quorle::tui
