// THistoryFigures: the History window's figures over a range of minutes,
// gathered minute by minute in time order: pings and loss, trip times
// (least, mean, greatest, an approximate 95th percentile), jitter (exact:
// each minute's changes plus the change across each join), the score, and
// the time asleep, down and slow with the availability over the time
// awake. Plain data and arithmetic; portable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "history/HistoryMinute.h"

class THistoryFigures {
public:
    // The next minute of the range; `awakeMs` is the part of it the program
    // watched awake (up to 60 s, less in a minute slept or not yet over).
    void Add(const THistoryMinute& minute, std::int64_t awakeMs);

    std::uint64_t Pings() const { return Echoes + Failures(); }
    std::uint64_t Failures() const { return TimeOuts + Unreachable + TtlExceeded + OtherFailures; }
    // Percent of the pings that failed; 0 without pings.
    double LossPercent() const;
    // In µs; 0 without echoes.
    double AverageUs() const;
    // The mean absolute change between consecutive echoes, in µs.
    double JitterUs() const;
    // Nearest rank over the histogram, within the range's least and greatest
    // trip time; exact only when the rank is the first or the last echo.
    std::uint32_t Percentile(double fraction, bool* approximate = nullptr) const;
    std::uint32_t Percentile95(bool* approximate = nullptr) const { return Percentile(0.95, approximate); }
    // Nothing without pings; 1.0 when every ping failed.
    std::optional<double> Mos() const;
    // Percent of the awake time that was not down; nothing without any.
    std::optional<double> AvailabilityPercent() const;

    std::uint64_t Echoes = 0, TimeOuts = 0, Unreachable = 0, TtlExceeded = 0, OtherFailures = 0, HeldUp = 0;
    std::uint32_t MinTrip = 0, MaxTrip = 0; // µs, with echoes
    std::uint64_t TripSum = 0;
    std::uint64_t ChangeSum = 0, ChangePairs = 0;
    std::int64_t AsleepMs = 0, DownMs = 0, SlowMs = 0, AwakeMs = 0;
    // Minutes that saw pings or a judged state, and minutes that saw nothing.
    std::uint32_t MinutesWithData = 0, MinutesWithout = 0;

private:
    std::array<std::uint32_t, THistoryMinute::Buckets> histogram_{};
    std::uint32_t lastTrip_ = 0;
};
