#include "monitor/RunClock.h"

namespace {
constexpr std::int64_t kDayMs = 86400000;
}

TCivilTime TWallStamp::Local() const
{
    return CivilTimeOf(UtcMs + std::int64_t{OffsetMinutes} * 60000);
}

TCivilTime CivilTimeOf(std::int64_t msSince1970)
{
    std::int64_t days64 = msSince1970 / kDayMs, ms = msSince1970 % kDayMs;
    if (ms < 0)
        ms += kDayMs, --days64;
    // From here in 32 bits: on the 32-bit build each 64-bit division is a
    // library call, and an export converts two stamps a row.
    const std::int32_t days = static_cast<std::int32_t>(days64);
    // Days since 1970-01-01 to a civil date, in 400-year eras from 0000-03-01.
    const std::int32_t z = days + 719468;
    const std::int32_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int32_t dayOfEra = z - era * 146097;
    const std::int32_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int32_t mp = (5 * dayOfYear + 2) / 153;
    const int day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    const int year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    const int s = static_cast<int>(ms) / 1000;
    return {year, month, day, s / 3600, s / 60 % 60, s % 60};
}
