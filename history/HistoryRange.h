// THistoryRange: the span of time the History window shows, on the run's
// monotonic clock, and how its buttons and keys move it: the last hour to
// the last 30 days, half a width left or right, zoom around the middle,
// back to now, a day picked from the calendar, centred on an outage.
// Plain values; portable.
#pragma once

#include "history/HistoryBins.h"

struct THistoryRange {
    TInstant From, To;

    TDuration Width() const { return To - From; }
    TInstant Middle() const { return From + Width() / 2; }
    bool operator==(const THistoryRange&) const = default;

    // The `width` that ends at `now`.
    static THistoryRange Last(TDuration width, TInstant now) { return {now - width, now}; }
    // Left (-1) or right (+1) by half the width.
    THistoryRange Moved(int direction) const;
    // In (+1: half the width) or out (-1: twice), around the middle; never
    // narrower than a minute nor wider than the bins hold.
    THistoryRange Zoomed(int direction) const;
    THistoryRange CentredOn(TInstant at) const { return {at - Width() / 2, at - Width() / 2 + Width()}; }
    // The same width, ending at `now`.
    THistoryRange AtNow(TInstant now) const { return Last(Width(), now); }
};

// The local day that holds the wall time `utcMs`' date, from its midnight
// to the next, found through the bins' labels.
THistoryRange HistoryDayRange(const THistoryBins& bins, const TCivilTime& day, int offsetMinutes);

// The top of the Y axis: the range's 99th percentile with a tenth more
// room, so an outlier does not squash the rest; at least 1 ms.
std::uint32_t HistoryAxisTopUs(const THistoryFigures& figures);
// The bottom of the logarithmic Y axis: the power of ten at or below the
// range's least trip time, from 0.1 ms, and a decade below the top at most.
std::uint32_t HistoryLogAxisBottomUs(const THistoryFigures& figures);
