#include "console/SystemClock.h"

#include <windows.h>

#include "icmp/PerformanceCounter.h"

namespace {

std::int64_t Ticks(const FILETIME& f)
{
    return static_cast<std::int64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime;
}

} // namespace

TClockReading ReadSystemClock()
{
    TClockReading reading;
    // The echo client's trip times come from the same counter.
    reading.Mono = TInstant(TDuration(ReadMicrosecondCounter()));
    // Both from one reading of the system time, so the offset is the one in force then.
    FILETIME utc, local;
    GetSystemTimeAsFileTime(&utc);
    FileTimeToLocalFileTime(&utc, &local);
    constexpr std::int64_t kUnixEpochMs = 11644473600000LL; // 1601 to 1970
    reading.Wall.UtcMs = Ticks(utc) / 10000 - kUnixEpochMs;
    reading.Wall.OffsetMinutes = static_cast<int>((Ticks(local) - Ticks(utc)) / 600000000);
    return reading;
}
