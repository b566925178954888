// The outages of a range as the History window lists them: each with its
// start and end (monotonic, and the wall stamps that label them), the pings
// it lost and their kinds. Until the link model judges the history, they
// come from the bins: a run of minutes judged down, or, where nothing was
// judged, minutes whose every ping failed. A seam lets the link model's own
// list take their place. Portable.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/HistoryBins.h"

struct THistoryOutage {
    TInstant From, To;
    TWallStamp FromWall, ToWall;
    std::uint64_t Lost = 0, TimeOuts = 0, Unreachable = 0, TtlExceeded = 0, OtherFailures = 0;

    TDuration Length() const { return To - From; }
    // "time-out, unreachable": the kinds of its lost pings, most first.
    std::string Kinds() const;
};

// The outages that overlap [from, to), oldest first.
using THistoryOutageSource = std::function<std::vector<THistoryOutage>(TInstant from, TInstant to)>;

std::vector<THistoryOutage> HistoryOutagesOf(const THistoryBins& bins, TInstant from, TInstant to);

struct THistoryOutageTotals {
    std::size_t Count = 0;
    TDuration Total{}, Longest{};
    // Their part within the range: the down time availability counts.
    TDuration InRange{};
};
THistoryOutageTotals HistoryOutageTotals(const std::vector<THistoryOutage>& outages, TInstant from, TInstant to);
