// TRecentFigures: the figures of the last five minutes of pings (loss, mean
// trip time, jitter and the MOS quality score), kept exactly as sums that
// slide: a ping enters, the ones older than the window leave, each in
// constant time; nothing is recomputed from the lists. Trip times are
// microseconds. Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <deque>

#include "monitor/RunClock.h"

class TRecentFigures {
public:
    static constexpr TDuration Window = std::chrono::minutes(5);

    // A ping that ended at `ended`: an echo of `tripUs`, or a failure.
    void Add(TInstant ended, bool echo, std::uint32_t tripUs);
    void Clear() { *this = TRecentFigures(); }

    std::uint64_t Pings() const { return pings_.size(); }
    std::uint64_t Failures() const { return failures_; }
    std::uint64_t Echoes() const { return echoes_.size(); }
    std::uint64_t TripSum() const { return tripSum_; }
    // The sum of |change| between consecutive echoes of the window.
    std::uint64_t JitterSum() const { return jitterSum_; }
    std::uint64_t JitterPairs() const { return echoes_.empty() ? 0 : echoes_.size() - 1; }
    // 1.0 to 4.5; meaningless without pings.
    double Mos() const;

private:
    struct TEcho {
        TInstant ended;
        std::uint32_t tripUs;
    };
    struct TPing {
        TInstant ended;
        bool echo;
    };
    std::deque<TPing> pings_;
    std::deque<TEcho> echoes_;
    std::uint64_t failures_ = 0, tripSum_ = 0, jitterSum_ = 0;
};

// The E-model's simplification: effective latency avg + 2 jitter + 10 ms;
// R = 93.2 - EL/40 below 160 ms, else 93.2 - (EL - 120)/10; 2.5 less per
// percent lost; R held within 0 to 100, and the score within 1.0 to 4.5.
double MeanOpinionScore(double avgMs, double jitterMs, double lossPercent);
