// Millisecond and microsecond arithmetic for trip times. The counter itself is read by the
// platform layer (ReadMillisecondCounter); these rules are portable.
#pragma once

#include <cstdint>

// value * 1000 / frequency, truncated, low 32 bits kept; exact and free of
// overflow for any counter value.
inline std::uint32_t CounterToMilliseconds(std::uint64_t value, std::uint64_t frequency)
{
    std::uint64_t whole = value / frequency;
    std::uint64_t part = value % frequency;
    return static_cast<std::uint32_t>(whole * 1000 + part * 1000 / frequency);
}

// value * 1000000 / frequency, truncated: microseconds of a counter, exact
// for any counter value a machine reaches.
inline std::uint64_t CounterToMicroseconds(std::uint64_t value, std::uint64_t frequency)
{
    return value / frequency * 1000000 + value % frequency * 1000000 / frequency;
}

// new - old in unsigned 32-bit arithmetic: a wrap between the two readings
// still gives the elapsed time.
inline std::uint32_t MillisecondsBetween(std::uint32_t oldValue, std::uint32_t newValue)
{
    return newValue - oldValue;
}
