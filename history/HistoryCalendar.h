// HistoryCalendar: civil dates the other way round from CivilTimeOf, for
// reading the times and dates that history files and their names carry:
// whether a date exists, and its day number since 1970-01-01. Portable.
#pragma once

#include <cstdint>

#include "monitor/RunClock.h"

// True for a day of the proleptic Gregorian calendar in years 1 to 9999.
bool ValidDate(int year, int month, int day);

// Days since 1970-01-01 (negative before); the date must be valid.
std::int32_t DaysSince1970(int year, int month, int day);
inline std::int32_t DaysSince1970(const TCivilTime& date)
{
    return DaysSince1970(date.Year, date.Month, date.Day);
}
