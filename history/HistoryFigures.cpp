#include "history/HistoryFigures.h"

#include <algorithm>
#include <cmath>

#include "monitor/RecentFigures.h"

void THistoryFigures::Add(const THistoryMinute& minute, std::int64_t awakeMs)
{
    AsleepMs += minute.AsleepMs;
    DownMs += minute.DownMs;
    SlowMs += minute.SlowMs;
    if (!minute.HasData()) {
        ++MinutesWithout;
        return;
    }
    ++MinutesWithData;
    AwakeMs += awakeMs;
    TimeOuts += minute.TimeOuts;
    Unreachable += minute.Unreachable;
    TtlExceeded += minute.TtlExceeded;
    OtherFailures += minute.OtherFailures;
    HeldUp += minute.HeldUp;
    if (minute.Echoes == 0)
        return;
    if (Echoes == 0) {
        MinTrip = minute.MinTrip;
        MaxTrip = minute.MaxTrip;
    } else {
        // The join: this minute's first echo follows the last minute's last.
        ChangeSum += minute.FirstTrip > lastTrip_ ? minute.FirstTrip - lastTrip_ : lastTrip_ - minute.FirstTrip;
        ++ChangePairs;
        MinTrip = std::min(MinTrip, minute.MinTrip);
        MaxTrip = std::max(MaxTrip, minute.MaxTrip);
    }
    ChangeSum += minute.ChangeSum;
    ChangePairs += minute.Echoes - 1u;
    lastTrip_ = minute.LastTrip;
    Echoes += minute.Echoes;
    TripSum += minute.TripSum;
    for (std::size_t b = 0; b < histogram_.size(); ++b)
        histogram_[b] += minute.Histogram[b];
}

double THistoryFigures::LossPercent() const
{
    return Pings() ? 100.0 * static_cast<double>(Failures()) / static_cast<double>(Pings()) : 0.0;
}

double THistoryFigures::AverageUs() const
{
    return Echoes ? static_cast<double>(TripSum) / static_cast<double>(Echoes) : 0.0;
}

double THistoryFigures::JitterUs() const
{
    return ChangePairs ? static_cast<double>(ChangeSum) / static_cast<double>(ChangePairs) : 0.0;
}

std::uint32_t THistoryFigures::Percentile(double fraction, bool* approximate) const
{
    if (approximate)
        *approximate = false;
    if (Echoes == 0)
        return 0;
    const auto rankOf = [&](std::uint64_t count) {
        const double rank = std::ceil(fraction * static_cast<double>(count));
        return std::clamp<std::uint64_t>(static_cast<std::uint64_t>(rank), 1, count);
    };
    const std::uint64_t rank = rankOf(Echoes);
    if (rank == Echoes)
        return MaxTrip;
    if (rank == 1)
        return MinTrip;
    if (approximate)
        *approximate = true;
    // The histogram's counts stop at 255 a minute: rank within its own total.
    std::uint64_t total = 0;
    for (std::uint32_t count : histogram_)
        total += count;
    if (total == 0)
        return MaxTrip;
    const std::uint64_t target = rankOf(total);
    std::uint64_t below = 0;
    for (int b = 0; b < THistoryMinute::Buckets; ++b) {
        const std::uint32_t count = histogram_[static_cast<std::size_t>(b)];
        if (below + count < target) {
            below += count;
            continue;
        }
        // Spread evenly over the part of the bucket the range's trip times reach.
        const double low = std::max(THistoryMinute::BucketFloor(b), MinTrip);
        const double high = b + 1 < THistoryMinute::Buckets
                                ? std::min(THistoryMinute::BucketFloor(b + 1), MaxTrip)
                                : static_cast<double>(MaxTrip);
        const double share = static_cast<double>(target - below) / static_cast<double>(count);
        const double value = low + std::max(0.0, high - low) * share;
        const auto rounded = static_cast<std::uint64_t>(std::llround(value));
        return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(rounded, MinTrip, MaxTrip));
    }
    return MaxTrip;
}

std::optional<double> THistoryFigures::Mos() const
{
    if (Pings() == 0)
        return std::nullopt;
    return MeanOpinionScore(AverageUs() / 1000, JitterUs() / 1000, LossPercent());
}

std::optional<double> THistoryFigures::AvailabilityPercent() const
{
    if (AwakeMs <= 0)
        return std::nullopt;
    const std::int64_t up = std::max<std::int64_t>(0, AwakeMs - DownMs);
    return 100.0 * static_cast<double>(up) / static_cast<double>(AwakeMs);
}
