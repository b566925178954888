// TRunFigures: the figures of one monitoring run, kept as each ping ends:
// counts, loss, trip time minimum / mean / maximum / 95th percentile, jitter
// (the mean absolute change between consecutive echoes' trip times), the
// outages and whether the host is up or down now. Trip times are
// microseconds; every duration comes from the monotonic instants, and each
// time shown from the wall stamp taken with it. A sleep is neither up time
// nor an outage: it closes an open outage where it began, and the failures
// of the first GraceAfterSleep after it (until the first echo) open none. Every figure is held
// exactly and updated in constant time per reply (logarithmic for the
// percentile's counts); nothing is recomputed from the lists. Portable;
// GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "icmp/ReplyStatus.h"
#include "monitor/RunClock.h"
#include "monitor/TripTimeCounts.h"

// Which kinds of failure an outage saw, as bits.
enum TFailureKinds : std::uint8_t {
    fkTimeOut = 1,
    fkUnreachable = 2,
    fkTTLExceeded = 4,
    fkOther = 8,
};
std::uint8_t FailureKindBit(TReplyStatusKind kind);

// One or more failed pings in a row: from the first one's send to the
// arrival of the echo that ended it; still open while no echo has come.
struct TOutage {
    TClockReading Start;
    TClockReading End; // meaningful once Closed
    std::uint32_t Lost = 0;
    std::uint8_t Kinds = 0; // TFailureKinds bits
    bool Closed = false;
    TDuration Duration(TInstant now) const { return (Closed ? End.Mono : now) - Start.Mono; }
};

class TRunFigures {
public:
    // Records kept; older ones go first (count and longest stay exact).
    static constexpr std::size_t MaxOutageRecords = 100000;
    // After a sleep the network may take this long to come back.
    static constexpr TDuration GraceAfterSleep = std::chrono::seconds(30);

    explicit TRunFigures(TClockReading start = {}) : start_(start), upSince_(start.Mono) {}

    // A new run from `now`: every figure back to nothing.
    void Start(TClockReading now);
    // An echo of `tripUs` that arrived at `arrival`.
    void AddEcho(std::uint32_t tripUs, TClockReading arrival);
    // A ping that ended without an echo, sent at `sent`.
    void AddFailure(TReplyStatusKind kind, TClockReading sent);
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

    // Oldest first; an open outage is the last record.
    const std::deque<TOutage>& Outages() const { return outages_; }
    std::uint64_t OutageCount() const { return outageCount_; }
    // The longest outage up to `now` (an open one counts its time so far).
    std::optional<TOutage> Longest(TInstant now) const;

    bool Down() const { return !outages_.empty() && !outages_.back().Closed; }
    // Up: since the end of the last outage, or the start of the run.
    TInstant UpSince() const { return upSince_; }
    // Down: the open outage.
    const TOutage* OpenOutage() const { return Down() ? &outages_.back() : nullptr; }

    // The time slept since the run began, and the last sleep.
    TDuration Asleep() const { return asleep_; }
    const std::optional<TSleep>& LastSleep() const { return lastSleep_; }
    // The run's time so far that the computer was awake.
    TDuration AwakeTime(TInstant now) const { return now - start_.Mono - asleep_; }
    // Failures now open no outage: just after a sleep, until the first echo.
    bool InGrace(TInstant at) const { return graceUntil_ && at < *graceUntil_; }

    std::size_t HeldBytes() const;

private:
    TClockReading start_;
    TInstant upSince_;
    std::uint64_t echoes_ = 0, failures_ = 0, notSent_ = 0;
    std::uint32_t minTrip_ = 0, maxTrip_ = 0, lastTrip_ = 0;
    std::uint64_t tripSum_ = 0, jitterSum_ = 0;
    TTripTimeCounts counts_;
    std::deque<TOutage> outages_;
    std::uint64_t outageCount_ = 0;
    std::optional<TOutage> longestClosed_;
    TDuration asleep_{};
    std::optional<TSleep> lastSleep_;
    std::optional<TInstant> graceUntil_;

    void CloseOutage(const TClockReading& end);
};
