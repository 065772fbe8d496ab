#include "core/user_message.h"

namespace quorle {

std::string FormatMessageText(const std::string& format,
                              const std::vector<std::string>& arguments) {
    std::string text;
    text.reserve(format.size());
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        bool field = format[i] == '%' && i + 1 < format.size() &&
                     (format[i + 1] == 's' || format[i + 1] == 'd');
        if (field && next < arguments.size()) {
            text += arguments[next++];
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

} // namespace quorle
