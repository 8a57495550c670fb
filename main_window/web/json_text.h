#pragma once

// A text as a JSON string, for the small programs that print the form's tables for the
// web page's build and its tests.

#include <string>
#include <string_view>

inline std::string JsonString(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            quoted += "\\u00";
            quoted += "0123456789abcdef"[c >> 4];
            quoted += "0123456789abcdef"[c & 0xf];
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}
