// The lines of the run figures' tip, as UTF-8 text: numbers in the locale's
// separators (toolkit/NumberText), clock times as hh:nn:ss with the locale's
// time separator, durations in at most two units ("2 h 13 min", "45 s").
// Lines without figures yet are left out. Portable.
#pragma once

#include <string>
#include <vector>

#include "console/RunFigures.h"
#include "toolkit/NumberText.h"

struct TTipFormat {
    tk::NumberSeparators Numbers;
    std::string TimeSeparator = ":";
};

// "14:02:11": the time of day of a local time.
std::string ClockText(TLocalMs time, const std::string& timeSeparator);
// "0.4 s", "45 s", "12 min 5 s", "2 h 13 min", "3 d 4 h": tenths below 10 s,
// else at most two units; never negative.
std::string DurationText(TLocalMs ms, const tk::NumberSeparators& separators);

// For example:
//   since 13:58:02 · 1,234 pings
//   loss 0.8 % (10 of 1,234)
//   min / avg / max 1 / 2.31 / 19 ms · p95 5 ms
//   jitter (mean change) 0.70 ms
//   3 outages, longest 45 s (13:01:02 to 13:01:47)
//   up for 2 h 13 min
std::vector<std::string> RunTipLines(const TRunFigures& figures, TLocalMs now, const TTipFormat& format);
// The lines joined by CR LF.
std::string RunTipText(const TRunFigures& figures, TLocalMs now, const TTipFormat& format);
