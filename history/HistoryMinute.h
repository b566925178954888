// THistoryMinute: what one minute of a run keeps for the History window:
// its pings by outcome, its trip times (least, greatest, sum, first, last,
// and the sum of changes between consecutive echoes, so that joined minutes
// give a range's jitter exactly), a log-scale histogram for an approximate
// percentile, and how much of it was slept or judged down or slow. Sized
// so that 31 days of minutes stay under 4 MB. Plain data; portable.
#pragma once

#include <array>
#include <cstdint>

#include "icmp/ReplyStatus.h"

struct THistoryMinute {
    // Half-octave buckets: below 128 µs, then [128, 192), [192, 256), [256,
    // 384) ... up to an open last one from about 16.8 s.
    static constexpr int Buckets = 36;
    static constexpr std::uint16_t FullMs = 60000;

    std::uint64_t TripSum = 0; // µs
    std::uint64_t ChangeSum = 0; // µs, between consecutive echoes within the minute
    std::uint32_t MinTrip = 0, MaxTrip = 0, FirstTrip = 0, LastTrip = 0; // meaningful with echoes
    // Counts stop at their maximum; a minute holds a hundred pings at most
    // when the program sends them.
    std::uint16_t Echoes = 0;
    std::uint16_t TimeOuts = 0, Unreachable = 0, TtlExceeded = 0, OtherFailures = 0;
    // Waits held up past their deadline: they measured nothing, so they are
    // in no other count.
    std::uint16_t HeldUp = 0;
    std::uint16_t AsleepMs = 0, DownMs = 0, SlowMs = 0;
    std::array<std::uint8_t, Buckets> Histogram{};

    std::uint32_t Failures() const { return std::uint32_t{TimeOuts} + Unreachable + TtlExceeded + OtherFailures; }
    std::uint32_t Pings() const { return Echoes + Failures(); }
    bool HasData() const { return Pings() > 0 || HeldUp > 0 || DownMs > 0 || SlowMs > 0; }

    void AddEcho(std::uint32_t tripUs);
    void AddFailure(TReplyStatusKind kind);
    void AddHeldUp() { Bump(HeldUp); }

    static int BucketOf(std::uint32_t tripUs);
    // The least trip time of a bucket; the last bucket has no upper bound.
    static std::uint32_t BucketFloor(int bucket);

private:
    static void Bump(std::uint16_t& count)
    {
        if (count < UINT16_MAX)
            ++count;
    }
};
