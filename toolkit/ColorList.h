// ColorList: the colours a colour chooser offers, in its order: the 16
// standard colours, 4 extended ones and 30 system colours (stored as
// 0x80000000 plus the system's colour index), each with its "cl" name.
// Values are 0x00BBGGRR colour words. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tk {

inline constexpr std::uint32_t kSystemColorFlag = 0x80000000u;

struct NamedColor {
    const char* name;
    std::uint32_t value;
};

// All 50 entries, in the chooser's order.
std::span<const NamedColor> ColorList();

// The entry's index, or nothing for a colour the list does not offer.
std::optional<std::size_t> FindColor(std::uint32_t value);

// The entry's name, or the value itself in hexadecimal ("$00A0B0C0") for a
// colour the list does not offer.
std::string ColorName(std::uint32_t value);

inline bool IsSystemColor(std::uint32_t value)
{
    return (value & kSystemColorFlag) != 0;
}

} // namespace tk
