// IntegerText: the one reading of a whole number typed by the user or stored
// in the settings file: an optional sign, then decimal digits, or hexadecimal
// digits after "$", "0x" or "x" (either case). Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace txt {

// The value, or nothing when the text is not a whole number. Leading blanks
// are skipped; anything after the digits makes the text invalid. Decimal
// values must fit a signed 32-bit integer; hexadecimal ones may use all 32
// bits and are taken as that bit pattern ("$FFFFFFFF" is -1), as colour
// words are stored.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// ParseInteger, or `fallback` when the text is not a whole number.
std::int32_t ParseIntegerOr(std::string_view text, std::int32_t fallback);

} // namespace txt
