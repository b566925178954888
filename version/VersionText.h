// Text rules of the version reader that need no Windows: the version string
// and the string-table paths built from a translation entry.
#pragma once

#include <cstdint>
#include <string>

// "Major.Minor.Release.Build" in decimal, no leading zeros.
std::string FormatVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                          std::uint16_t build);

// "\StringFileInfo\" + 8 upper-case hex digits, language first and code page
// second, from the first translation entry (low word language, high word code page).
std::string StringTablePath(std::uint32_t translation);

// Copies a query path into a zero-filled buffer of Capacity bytes, keeping at most
// Capacity - 1 characters so the text always ends in a zero.
template <std::size_t Capacity>
void CopyQueryPath(char (&buffer)[Capacity], const std::string& path)
{
    static_assert(Capacity > 0);
    for (auto& c : buffer)
        c = 0;
    for (std::size_t i = 0; i < path.size() && i + 1 < Capacity; ++i)
        buffer[i] = path[i];
}
