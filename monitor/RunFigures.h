// TRunFigures: the figures of one monitoring run, kept as each ping ends:
// counts, loss, trip time minimum / mean / maximum / 95th percentile, jitter
// (the mean absolute change between consecutive echoes' trip times) and the
// sleeps. Whether the link is up, and its outages, are the link model's.
// Trip times are microseconds; every figure is held exactly and updated in
// constant time per reply (logarithmic for the percentile's counts); nothing
// is recomputed from the lists. Portable; GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "monitor/RunClock.h"
#include "monitor/TripTimeCounts.h"

class TRunFigures {
public:
    explicit TRunFigures(TClockReading start = {}) : start_(start) {}

    // A new run from `now`: every figure back to nothing.
    void Start(TClockReading now);
    void AddEcho(std::uint32_t tripUs);
    void AddFailure() { ++failures_; }
    // A ping that raised an error and sent nothing.
    void AddNotSent() { ++notSent_; }
    void AddSleep(const TSleep& sleep);

    const TClockReading& RunStart() const { return start_; }
    // Pings that ended with a record; a ping still waiting is in none.
    std::uint64_t Pings() const { return echoes_ + failures_; }
    std::uint64_t Echoes() const { return echoes_; }
    std::uint64_t Failures() const { return failures_; }
    std::uint64_t NotSent() const { return notSent_; }

    // Trip times over the echoes of the run, in microseconds; 0 without echoes.
    std::uint32_t MinTrip() const { return minTrip_; }
    std::uint32_t MaxTrip() const { return maxTrip_; }
    std::uint64_t TripSum() const { return tripSum_; }
    // Nearest rank: the smallest trip time that at least 95 % of the echoes
    // do not exceed.
    std::uint32_t Percentile95() const;
    // The sum of |change| over the Echoes() - 1 pairs of consecutive echoes.
    std::uint64_t JitterSum() const { return jitterSum_; }
    std::uint64_t JitterPairs() const { return echoes_ > 0 ? echoes_ - 1 : 0; }

    // The time slept since the run began, and the last sleep.
    TDuration Asleep() const { return asleep_; }
    const std::optional<TSleep>& LastSleep() const { return lastSleep_; }
    // The run's time so far that the computer was awake.
    TDuration AwakeTime(TInstant now) const { return now - start_.Mono - asleep_; }

    std::size_t HeldBytes() const;

private:
    TClockReading start_;
    std::uint64_t echoes_ = 0, failures_ = 0, notSent_ = 0;
    std::uint32_t minTrip_ = 0, maxTrip_ = 0, lastTrip_ = 0;
    std::uint64_t tripSum_ = 0, jitterSum_ = 0;
    TTripTimeCounts counts_;
    TDuration asleep_{};
    std::optional<TSleep> lastSleep_;
};
