#include "platform/wildcard.h"

#include "core/ascii_text.h"

namespace quorle::platform {
namespace {

bool SameLetter(char a, char b) {
    return core::AsciiLower(a) == core::AsciiLower(b);
}

} // namespace

bool WildcardMatch(const std::string& mask, const std::string& name) {
    if (mask == "*.*") return true;
    // Iterative match with one back-tracking point for the last "*".
    size_t m = 0, n = 0, starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || SameLetter(mask[m], name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

} // namespace quorle::platform
