#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Readable form of a UTF-16 name for failure messages: printable ASCII as is, anything else as
// \uXXXX.
inline std::string Printable(std::u16string_view name) {
    std::string out;
    for (char16_t c : name) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}
