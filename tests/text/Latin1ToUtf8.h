// The tests' stand-in for the system's ANSI-to-UTF-8 conversion: Latin-1,
// where every byte is the code point of the same number.
#pragma once

#include <string>
#include <string_view>

inline std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
