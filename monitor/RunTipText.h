// The lines of the run figures' tip, as UTF-8 text: numbers in the locale's
// separators (text/NumberText), clock times as hh:nn:ss with the locale's
// time separator, in the offset each was taken in, durations in at most two
// units ("2 h 13 min", "45 s"), trip times to the microsecond. Lines
// without figures yet are left out. Portable.
#pragma once

#include <string>
#include <vector>

#include "monitor/LinkModel.h"
#include "monitor/RunFigures.h"
#include "text/NumberText.h"

struct TTipFormat {
    txt::NumberSeparators Numbers;
    std::string TimeSeparator = ":";
};

// "14:02:11": the local time of day a stamp shows.
std::string ClockText(const TWallStamp& stamp, const std::string& timeSeparator);
// "0.4 s", "45 s", "12 min 5 s", "2 h 13 min", "3 d 4 h": tenths below 10 s,
// else at most two units; never negative.
std::string DurationText(TDuration duration, const txt::NumberSeparators& separators);
// A trip time of sumUs / count microseconds in milliseconds: three decimals
// below 1 ms, two below 10 ms, one below 100 ms, whole above ("0.214",
// "3.07", "21.4", "214"). 0 for no count.
std::string TripMsText(std::uint64_t sumUs, std::uint64_t count, const txt::NumberSeparators& separators);
// A usual trip time: as TripMsText below 10 ms, else whole milliseconds ("21").
std::string UsualMsText(std::uint32_t us, const txt::NumberSeparators& separators);

// For example:
//   since 13:58:02 · 1,234 pings
//   loss 0.8 % (10 of 1,234)
//   min / avg / max 0.214 / 2.31 / 19.0 ms · p95 5.02 ms
//   jitter (mean change) 0.705 ms
//   last 5 min · loss 0.0 % · avg 21.4 ms · jitter 1.20 ms · MOS 4.38
//   3 outages, longest 45 s (13:01:02 to 13:01:47)
//   up for 2 h 13 min          (or the state: "down since 14:02:31, 3 pings",
//                               "slow since 14:02:31 (usually 21 ms)", "starting"…)
//   asleep 23:10 to 07:02
std::vector<std::string> RunTipLines(const TRunFigures& figures, const TLinkModel& link, TInstant now,
                                     const TTipFormat& format);
// The lines joined by CR LF.
std::string RunTipText(const TRunFigures& figures, const TLinkModel& link, TInstant now, const TTipFormat& format);
