// The one clock of a monitoring run, as two readings taken together: a
// monotonic instant, for every duration, and a wall stamp with the UTC
// offset in force when it was taken, for every time shown or exported. A
// clock set or a daylight-saving change moves the wall stamps only, so
// durations never jump. The Win32 side reads both in one place; tests
// give a clock that jumps. Portable.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// Microseconds of a counter that never goes back; its zero means nothing.
struct TMonotonicClock {
    using rep = std::int64_t;
    using period = std::micro;
    using duration = std::chrono::microseconds;
    using time_point = std::chrono::time_point<TMonotonicClock>;
    static constexpr bool is_steady = true;
};
using TInstant = TMonotonicClock::time_point;
using TDuration = std::chrono::microseconds;

// A date and time of day on some clock, to the second.
struct TCivilTime {
    int Year = 0, Month = 0, Day = 0;
    int Hour = 0, Minute = 0, Second = 0;
};

// A moment of the wall clock: milliseconds since 1970-01-01 00:00 UTC and
// the local clock's distance from UTC then, in minutes east.
struct TWallStamp {
    std::int64_t UtcMs = 0;
    int OffsetMinutes = 0;

    // The local date and time it shows.
    TCivilTime Local() const;
    // The same offset, `d` later: a send time from an arrival stamp.
    TWallStamp Before(TDuration d) const
    {
        return {UtcMs - d.count() / 1000, OffsetMinutes};
    }
};

struct TClockReading {
    TInstant Mono;
    TWallStamp Wall;
};

// A time the computer slept (or the program stood frozen): neither up time
// nor an outage nor lost pings.
struct TSleep {
    TClockReading Begin;
    TClockReading End;
    TDuration Length() const { return End.Mono - Begin.Mono; }
};

using TRunClock = std::function<TClockReading()>;

// Days since 1970-01-01 as a civil date, and milliseconds since then as a
// date and time (the proleptic Gregorian calendar, any sign).
TCivilTime CivilTimeOf(std::int64_t msSince1970);
