// The minute bins against a plain recomputation over random runs with
// sleeps, clock sets and daylight-saving changes (bins follow the monotonic
// clock, labels the wall stamps), the score's formula, and the memory bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "history/HistoryBins.h"

namespace {

using namespace std::chrono;

constexpr std::int64_t kWallStart = 1796650000000; // 2026-12-07, in ms since 1970

struct TPeriod {
    TInstant From, To;
};

// A random run: what it fed the bins, kept for the recomputation.
struct TRun {
    std::vector<TPingRecord> Pings;
    std::vector<TPeriod> Sleeps, Downs;
};

TRun RandomRun(std::mt19937& random, THistoryBins& bins, TClockReading start, int steps)
{
    TRun run;
    TInstant mono = start.Mono;
    std::int64_t wallShiftMs = start.Wall.UtcMs - mono.time_since_epoch().count() / 1000;
    int offset = start.Wall.OffsetMinutes;
    bool down = false;
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    for (int i = 0; i < steps; ++i) {
        TDuration step = milliseconds(200 + random() % 1800);
        if (chance(2)) {
            // A clock set or a daylight-saving change: the wall clock moves, a minute or more passes.
            step = seconds(60 + random() % 600);
            if (chance(50))
                wallShiftMs += static_cast<std::int64_t>(random() % 7200000) - 3600000;
            else
                offset += chance(50) ? 60 : -60;
        }
        if (chance(1)) {
            const TSleep sleep{{mono, {}}, {mono + minutes(5 + random() % 200), {}}};
            bins.AddSleep(sleep);
            run.Sleeps.push_back({sleep.Begin.Mono, sleep.End.Mono});
            mono = sleep.End.Mono;
        }
        mono += step;
        TPingRecord r;
        const int what = static_cast<int>(random() % 10);
        r.Outcome = what < 7 ? TPingOutcome::Echo : TPingOutcome::Failure;
        r.Reply.Kind = what < 7 ? rsEcho : what == 7 ? rsTimeOut : what == 8 ? rsErrorUnreachable : rsErrorTTLExceeded;
        // From 50 µs to about 5 s, spread over the scale.
        r.TripUs = static_cast<std::uint32_t>(50 * std::pow(2.0, (random() % 1700) / 100.0));
        r.HeldUp = chance(3);
        r.Sent = mono;
        mono = r.Ended();
        r.Filed = {mono.time_since_epoch().count() / 1000 + wallShiftMs, offset};
        bins.AddPing(r);
        run.Pings.push_back(r);
        if (chance(5)) {
            // The link model turns down or back, at the ping's end.
            if (!down)
                run.Downs.push_back({mono, mono});
            else
                run.Downs.back().To = mono;
            down = !down;
            bins.LinkStateChanged(mono, down ? THistoryLinkState::Down : THistoryLinkState::Other);
        }
    }
    if (down)
        run.Downs.back().To = mono;
    return run;
}

std::int64_t OverlapMs(const std::vector<TPeriod>& periods, TInstant from, TInstant to)
{
    std::int64_t ms = 0;
    for (const TPeriod& p : periods)
        ms += std::max<std::int64_t>(0, (std::min(p.To, to) - std::max(p.From, from)).count() / 1000);
    return ms;
}

TEST(HistoryBins, FiguresOfAnyRangeAgreeWithARecomputation)
{
    std::mt19937 random(34);
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        const TClockReading start{TInstant(seconds(1000 + round * 37)), {kWallStart + round * 12345, 60}};
        THistoryBins bins(start);
        const TRun run = RandomRun(random, bins, start, 3000);
        const std::int64_t minutes = bins.MinuteOf(bins.Latest()) + 1;
        for (int query = 0; query < 40; ++query) {
            std::int64_t a = random() % minutes, b = random() % (minutes + 1);
            if (a > b)
                std::swap(a, b);
            const TInstant from = bins.StartOf(a), to = bins.StartOf(b);
            const THistoryFigures f = bins.Figures(from, to);
            std::uint64_t echoes = 0, failures = 0, heldUp = 0, sum = 0, changes = 0, pairs = 0;
            std::vector<std::uint32_t> trips;
            const TPingRecord* previous = nullptr;
            for (const TPingRecord& r : run.Pings) {
                if (r.Sent < from || r.Sent >= to)
                    continue;
                if (r.HeldUp) {
                    ++heldUp;
                } else if (r.Outcome == TPingOutcome::Failure) {
                    ++failures;
                } else {
                    ++echoes;
                    sum += r.TripUs;
                    trips.push_back(r.TripUs);
                    if (previous) {
                        changes += r.TripUs > previous->TripUs ? r.TripUs - previous->TripUs : previous->TripUs - r.TripUs;
                        ++pairs;
                    }
                    previous = &r;
                }
            }
            ASSERT_EQ(f.Echoes, echoes);
            EXPECT_EQ(f.Failures(), failures);
            EXPECT_EQ(f.HeldUp, heldUp);
            EXPECT_EQ(f.TripSum, sum);
            EXPECT_EQ(f.ChangeSum, changes) << "jitter joins minutes exactly";
            EXPECT_EQ(f.ChangePairs, pairs);
            // Each minute keeps whole milliseconds.
            EXPECT_NEAR(f.AsleepMs, OverlapMs(run.Sleeps, from, to), 1 + (b - a));
            EXPECT_NEAR(f.DownMs, OverlapMs(run.Downs, from, to), 1 + (b - a));
            if (trips.empty())
                continue;
            std::sort(trips.begin(), trips.end());
            EXPECT_EQ(f.MinTrip, trips.front());
            EXPECT_EQ(f.MaxTrip, trips.back());
            const std::size_t rank = static_cast<std::size_t>(std::ceil(0.95 * trips.size()));
            const std::uint32_t exact = trips[std::max<std::size_t>(rank, 1) - 1];
            bool approximate = false;
            const std::uint32_t p95 = f.Percentile95(&approximate);
            EXPECT_EQ(approximate, rank > 1 && rank < trips.size());
            // Within a half-octave bucket of the exact value.
            EXPECT_LE(p95, exact * 1.5 + 128) << trips.size();
            EXPECT_GE(p95, exact / 1.5 - 128) << trips.size();
        }
    }
}

TEST(HistoryBins, LabelsFollowTheWallStampsWithTheirOffsets)
{
    std::mt19937 random(7);
    const TClockReading start{TInstant(seconds(5)), {kWallStart, 60}};
    THistoryBins bins(start);
    const TRun run = RandomRun(random, bins, start, 4000);
    for (const TPingRecord& r : run.Pings) {
        const std::int64_t minute = bins.MinuteOf(r.Ended());
        const TWallStamp label = bins.Label(minute);
        const std::int64_t shown = label.UtcMs + (r.Ended() - bins.StartOf(minute)).count() / 1000;
        ASSERT_NEAR(shown, r.Filed.UtcMs, 2000) << minute;
        ASSERT_EQ(label.OffsetMinutes, r.Filed.OffsetMinutes) << minute;
        // The way back, for a day picked from a calendar: an instant that
        // showed this reading, the latest after a clock set back.
        const TInstant back = bins.InstantOfWall(label.UtcMs);
        const std::int64_t backMinute = bins.MinuteOf(back);
        EXPECT_GE(backMinute, minute);
        EXPECT_EQ(bins.Label(backMinute).UtcMs + (back - bins.StartOf(backMinute)).count() / 1000, label.UtcMs);
    }
    EXPECT_EQ(bins.Label(0).UtcMs % 60000, 0) << "minutes begin on the wall clock's minutes";
}

TEST(HistoryBins, ColumnsTakeTheMinutesTheyOverlap)
{
    std::mt19937 random(12);
    const TClockReading start{TInstant(seconds(0)), {kWallStart, 0}};
    THistoryBins bins(start);
    RandomRun(random, bins, start, 2000);
    const TInstant from = bins.StartOf(3), to = bins.StartOf(63);
    struct Case {
        int columns;
        int minutesEach; // 0: narrower than a minute
    } cases[] = {{60, 1}, {20, 3}, {1, 60}, {240, 0}};
    for (const Case& c : cases) {
        const std::vector<THistoryColumn> columns = bins.Columns(from, to, c.columns);
        ASSERT_EQ(columns.size(), static_cast<std::size_t>(c.columns));
        EXPECT_EQ(columns.front().From, from);
        EXPECT_EQ(columns.back().To, to);
        for (const THistoryColumn& column : columns) {
            const std::int64_t first = bins.MinuteOf(column.From);
            const THistoryFigures f = bins.Figures(bins.StartOf(first), bins.StartOf(first + std::max(1, c.minutesEach)));
            EXPECT_EQ(column.Pings, f.Pings()) << c.columns;
            EXPECT_EQ(column.Echoes, f.Echoes);
            EXPECT_EQ(column.TripSum, f.TripSum);
            EXPECT_EQ(column.MaxTrip, f.MaxTrip);
        }
    }
}

TEST(HistoryBins, SleepsAndJudgedPeriodsSpreadOverTheirMinutes)
{
    const TClockReading start{TInstant(seconds(0)), {kWallStart - kWallStart % 60000, 0}};
    THistoryBins bins(start);
    bins.AddSleep({{TInstant(seconds(90)), {}}, {TInstant(seconds(250)), {}}});
    bins.AddLinkPeriod(TInstant(seconds(30)), TInstant(seconds(70)), THistoryLinkState::Slow);
    bins.LinkStateChanged(TInstant(seconds(290)), THistoryLinkState::Down);
    bins.AdvanceTo(TInstant(seconds(330)));
    struct Case {
        std::int64_t minute;
        std::uint16_t asleepMs, downMs, slowMs;
    } cases[] = {{0, 0, 0, 30000}, {1, 30000, 0, 10000}, {2, 60000, 0, 0}, {3, 60000, 0, 0},
                 {4, 10000, 10000, 0}, {5, 0, 30000, 0}, {6, 0, 0, 0}};
    for (const Case& c : cases) {
        const THistoryMinute m = bins.At(c.minute);
        EXPECT_EQ(m.AsleepMs, c.asleepMs) << c.minute;
        EXPECT_EQ(m.DownMs, c.downMs) << c.minute;
        EXPECT_EQ(m.SlowMs, c.slowMs) << c.minute;
    }
    // Down until now, still open; awake: every minute with data, less its sleep.
    const THistoryFigures f = bins.Figures(bins.StartOf(0), bins.StartOf(6));
    EXPECT_EQ(f.DownMs, 40000);
    EXPECT_EQ(f.AwakeMs, 60000 + 30000 + 50000 + 30000);
    EXPECT_NEAR(*f.AvailabilityPercent(), 100.0 * (170000 - 40000) / 170000, 1e-9);
    bins.LinkStateChanged(TInstant(seconds(320)), THistoryLinkState::Other);
    EXPECT_EQ(bins.At(5).DownMs, 20000) << "booked when it ended";
}

TEST(HistoryBins, KeepThirtyOneDaysInFourMegabytesDroppingTheOldestFirst)
{
    EXPECT_LE(sizeof(THistoryMinute), 88u);
    const TClockReading start{TInstant(seconds(0)), {kWallStart - kWallStart % 60000, 0}};
    THistoryBins bins(start);
    TPingRecord r;
    r.TripUs = 20000;
    for (std::int64_t minute = 0; minute < THistoryBins::MaxMinutes + 3 * 60; ++minute) {
        r.Sent = bins.StartOf(minute) + seconds(30);
        r.Filed = {start.Wall.UtcMs + minute * 60000 + 30020, 0};
        bins.AddPing(r);
    }
    EXPECT_LE(bins.HeldBytes(), 4u * 1000 * 1000);
    EXPECT_EQ(bins.FirstMinute(), 3 * 60 - 60) << "an hour beyond the 31 days, the oldest first";
    const THistoryFigures all = bins.Figures(bins.StartOf(0), bins.Latest());
    EXPECT_EQ(all.Echoes, static_cast<std::uint64_t>(THistoryBins::MaxMinutes + 60));
    // A ping older than the minutes kept is dropped; a gap longer than them all starts anew.
    r.Sent = bins.StartOf(5);
    bins.AddPing(r);
    EXPECT_EQ(bins.Figures(bins.StartOf(0), bins.Latest()).Echoes, all.Echoes);
    r.Sent = bins.StartOf(200000);
    bins.AddPing(r);
    EXPECT_EQ(bins.Figures(bins.StartOf(0), bins.Latest()).Echoes, 1u);
}

} // namespace
