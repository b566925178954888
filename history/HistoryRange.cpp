#include "history/HistoryRange.h"

#include <algorithm>

#include "history/HistoryCalendar.h"

namespace {

constexpr TDuration kNarrowest = std::chrono::minutes(1);
constexpr TDuration kWidest = THistoryBins::Minute * THistoryBins::MaxMinutes;

} // namespace

THistoryRange THistoryRange::Moved(int direction) const
{
    const TDuration step = Width() / 2 * direction;
    return {From + step, To + step};
}

THistoryRange THistoryRange::Zoomed(int direction) const
{
    const TDuration width = std::clamp<TDuration>(direction > 0 ? Width() / 2 : Width() * 2, kNarrowest, kWidest);
    const TInstant from = Middle() - width / 2;
    return {from, from + width};
}

THistoryRange HistoryDayRange(const THistoryBins& bins, const TCivilTime& day, int offsetMinutes)
{
    const std::int64_t midnightUtcMs = (DaysSince1970(day) * 1440LL - offsetMinutes) * 60000;
    const TInstant from = bins.InstantOfWall(midnightUtcMs);
    return {from, from + std::chrono::hours(24)};
}

std::uint32_t HistoryAxisTopUs(const THistoryFigures& figures)
{
    const std::uint64_t top = figures.Percentile(0.99) * 11ULL / 10;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(top, 1000, UINT32_MAX));
}

std::uint32_t HistoryLogAxisBottomUs(const THistoryFigures& figures)
{
    const std::uint32_t top = HistoryAxisTopUs(figures);
    const std::uint32_t least = figures.Echoes ? std::min(figures.MinTrip, top / 10) : top / 10;
    std::uint32_t bottom = 100;
    while (bottom <= least / 10)
        bottom *= 10;
    return bottom;
}
