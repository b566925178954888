#include "history/HistoryOutages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

bool MinuteDown(const THistoryMinute& m)
{
    if (m.DownMs > 0)
        return true;
    return m.SlowMs == 0 && m.Echoes == 0 && m.Failures() > 0;
}

void AddLost(THistoryOutage& outage, const THistoryMinute& m)
{
    outage.Lost += m.Failures();
    outage.TimeOuts += m.TimeOuts;
    outage.Unreachable += m.Unreachable;
    outage.TtlExceeded += m.TtlExceeded;
    outage.OtherFailures += m.OtherFailures;
}

} // namespace

std::string THistoryOutage::Kinds() const
{
    std::array<std::pair<std::uint64_t, const char*>, 4> kinds{
        {{TimeOuts, "time-out"}, {Unreachable, "unreachable"}, {TtlExceeded, "TTL exceeded"}, {OtherFailures, "other"}}};
    std::string text;
    // Most first; of equal counts, in the order above.
    for (;;) {
        auto most = kinds.begin();
        for (auto k = kinds.begin(); k != kinds.end(); ++k)
            most = k->first > most->first ? k : most;
        if (most->first == 0)
            return text;
        text += text.empty() ? "" : ", ";
        text += most->second;
        most->first = 0;
    }
}

std::vector<THistoryOutage> HistoryOutagesOf(const THistoryBins& bins, TInstant from, TInstant to)
{
    std::vector<THistoryOutage> outages;
    if (to <= from)
        return outages;
    const std::int64_t end = std::min(bins.MinuteOf(to - TDuration(1)) + 1, bins.EndMinute());
    // An outage the range cuts still shows whole: a day back, and on past its end.
    std::int64_t m = std::max(bins.FirstMinute(), bins.MinuteOf(from) - 24 * 60);
    const std::int64_t last = std::min(end + 24 * 60, bins.EndMinute());
    bool open = false;
    for (; m < end || (open && m < last); ++m) {
        const THistoryMinute minute = bins.At(m);
        const bool down = MinuteDown(minute);
        if (down && !open) {
            outages.push_back({bins.StartOf(m), bins.StartOf(m + 1), bins.Label(m), bins.Label(m + 1)});
            open = true;
        } else if (down) {
            outages.back().To = bins.StartOf(m + 1);
            outages.back().ToWall = bins.Label(m + 1);
        }
        open = down;
        if (down)
            AddLost(outages.back(), minute);
    }
    std::erase_if(outages, [&](const THistoryOutage& o) { return o.To <= from; });
    return outages;
}

THistoryOutageTotals HistoryOutageTotals(const std::vector<THistoryOutage>& outages, TInstant from, TInstant to)
{
    THistoryOutageTotals totals;
    totals.Count = outages.size();
    for (const THistoryOutage& o : outages) {
        totals.Total += o.Length();
        totals.Longest = std::max(totals.Longest, o.Length());
        totals.InRange += std::max(TDuration(0), std::min(o.To, to) - std::max(o.From, from));
    }
    return totals;
}
