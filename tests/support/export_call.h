// Calls a buffer-filling export the way a host does and keeps what it wrote.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct ExportAnswer {
    int result = -99;
    int32_t length = 0;
    std::string bytes; // the whole buffer after the call
};

// The buffer starts filled with '#' so that untouched bytes are visible.
inline ExportAnswer CallExport(const std::function<int(char*, int32_t*)>& call,
                               int32_t capacity = 4096) {
    ExportAnswer answer;
    answer.bytes.assign(4096, '#');
    answer.length = capacity;
    answer.result = call(answer.bytes.data(), &answer.length);
    return answer;
}

// The bytes of a successful call up to the required size.
inline std::string Filled(const ExportAnswer& answer) {
    return answer.bytes.substr(0, static_cast<size_t>(answer.length));
}

inline bool Untouched(const ExportAnswer& answer) {
    return answer.bytes.find_first_not_of('#') == std::string::npos;
}
