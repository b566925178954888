// What the History window shows, without the window: earlier days' files
// read into a run's bins before its start, the outages found in the bins,
// the range's moves and zooms, and the texts and the range's CSV file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "history/HistoryBackfill.h"
#include "history/HistoryFile.h"
#include "history/HistoryOutages.h"
#include "history/HistoryRange.h"
#include "history/HistoryTexts.h"

namespace {

using namespace std::chrono;

constexpr std::int64_t kMidnight = 1796684400000; // 2026-12-08T00:00+01:00
const TClockReading kRunStart{TInstant(seconds(5000)), {kMidnight + 8 * 3600000, 60}}; // 08:00

std::string Same(std::string_view text)
{
    return std::string(text);
}

TPingRecord Ping(TReplyStatusKind kind, std::uint32_t tripUs, std::int64_t utcMs)
{
    TPingRecord r;
    r.Outcome = kind == rsEcho ? TPingOutcome::Echo : TPingOutcome::Failure;
    r.Reply.Kind = kind;
    r.Reply.AddressFrom = "198.51.100.20";
    r.TripUs = tripUs;
    r.Filed = {utcMs, 60};
    r.Sent = kRunStart.Mono + milliseconds(utcMs - kRunStart.Wall.UtcMs) - TDuration(tripUs);
    r.Host = "now.example";
    return r;
}

// A file of a ping every 10 s over [fromMs, toMs); time-outs within the `lost` spans.
std::string File(std::int64_t fromMs, std::int64_t toMs, std::vector<std::pair<std::int64_t, std::int64_t>> spans = {})
{
    THistoryWriter writer(Same);
    for (std::int64_t at = fromMs; at < toMs; at += 10000) {
        const bool lost = std::any_of(spans.begin(), spans.end(), [&](auto s) { return at >= s.first && at < s.second; });
        writer.AddPing(Ping(lost ? rsTimeOut : rsEcho, lost ? 1000000 : 20000, at + 2000));
    }
    std::string text = HistoryFileStart();
    writer.HandOn([&](std::string_view rows) { text += rows; });
    return text;
}

TEST(HistoryBackfill, EarlierDaysFillTheMinutesBeforeTheRunAndLeaveItsOwnRowsOut)
{
    THistoryBins bins(kRunStart, THistoryBins::MaxMinutes);
    bins.AddPing(Ping(rsEcho, 30000, kRunStart.Wall.UtcMs + 1000)); // the run's own
    THistoryBackfill backfill(bins, kRunStart);
    // Today's file, newest first, also holds this run's first ping and an hour before it.
    std::string today = File(kRunStart.Wall.UtcMs - 3600000, kRunStart.Wall.UtcMs);
    THistoryWriter writer(Same);
    writer.AddPing(Ping(rsEcho, 30000, kRunStart.Wall.UtcMs + 1000));
    writer.HandOn([&](std::string_view rows) { today += rows; });
    backfill.BeginFile();
    // In two pieces of whole lines, as the window reads a file.
    const std::size_t half = today.find('\n', today.size() / 2) + 1;
    const THistoryReadCounts first = backfill.Read(std::string_view(today).substr(0, half));
    const THistoryReadCounts counts = backfill.Read(std::string_view(today).substr(half));
    EXPECT_EQ(first.Rows + counts.Rows, 360u);
    EXPECT_EQ(first.Skipped + counts.Skipped, 0u);
    EXPECT_EQ(counts.Later, 1u);
    // The link model's replay hears the same rows, on the run's clock.
    struct TReplay : THistoryVisitor {
        std::vector<TPingRecord> Pings;
        void PingRead(const TPingRecord& record) override { Pings.push_back(record); }
        void SleepRead(const TSleep&) override {}
    } replay;
    backfill.SetReplay(&replay);
    backfill.BeginFile();
    const THistoryReadCounts yesterday = backfill.Read(File(kMidnight - 7200000, kMidnight - 3600000));
    EXPECT_EQ(yesterday.Rows, 360u);
    ASSERT_EQ(replay.Pings.size(), 360u);
    EXPECT_EQ(replay.Pings[0].Sent, Ping(rsEcho, 20000, kMidnight - 7200000 + 2000).Sent);
    EXPECT_EQ(replay.Pings[0].Reply.AddressFrom, "198.51.100.20");

    const TInstant hourBefore = bins.InstantOfWall(kRunStart.Wall.UtcMs - 3600000);
    EXPECT_EQ(hourBefore, kRunStart.Mono - hours(1));
    const THistoryFigures lastHour = bins.Figures(hourBefore, kRunStart.Mono);
    EXPECT_EQ(lastHour.Echoes, 360u);
    EXPECT_EQ(lastHour.AwakeMs, 3600000) << "awake where the files saw pings";
    const THistoryFigures all = bins.Figures(bins.StartOf(bins.FirstMinute()), bins.Latest() + minutes(1));
    EXPECT_EQ(all.Echoes, 721u);
    const std::int64_t minute = bins.MinuteOf(bins.InstantOfWall(kMidnight - 7200000));
    EXPECT_EQ(bins.Label(minute).UtcMs, kMidnight - 7200000);
    EXPECT_EQ(bins.At(minute).Echoes, 6);
    EXPECT_EQ(bins.Figures(bins.InstantOfWall(kMidnight - 3600000), hourBefore).AwakeMs, 0)
        << "the hours between runs are neither awake nor down";
}

struct HistoryOutages : ::testing::Test {
    THistoryBins bins{kRunStart, THistoryBins::MaxMinutes};
    void SetUp() override
    {
        // 10:00 to 10:30 a ping every 10 s; 10:10:00-10:15:00 all lost, and
        // 10:20:30-10:22:00 lost, whose first minute also saw echoes.
        const std::int64_t ten = kMidnight + 10 * 3600000;
        THistoryBackfill backfill(bins, {kRunStart.Mono + hours(5), {ten + 3 * 3600000, 60}});
        backfill.BeginFile();
        backfill.Read(File(ten, ten + 1800000, {{ten + 600000, ten + 900000}, {ten + 1230000, ten + 1320000}}));
        for (std::int64_t at = ten + 1260000; at < ten + 1320000; at += 10000)
            bins.AddPing(Ping(rsErrorTTLExceeded, 1000, at + 5000));
        bins.AddLinkPeriod(bins.InstantOfWall(ten + 1500000), bins.InstantOfWall(ten + 1560000), THistoryLinkState::Down);
    }
    TInstant At(int hour, int minute) const { return bins.InstantOfWall(kMidnight + (hour * 60 + minute) * 60000LL); }
};

TEST_F(HistoryOutages, AreRunsOfLostOrJudgedMinutesWithTheirLossesAndKinds)
{
    const std::vector<THistoryOutage> outages = HistoryOutagesOf(bins, At(10, 0), At(11, 0));
    ASSERT_EQ(outages.size(), 3u);
    EXPECT_EQ(outages[0].From, At(10, 10));
    EXPECT_EQ(outages[0].Length(), minutes(5));
    EXPECT_EQ(outages[0].Lost, 30u);
    EXPECT_EQ(outages[0].Kinds(), "time-out");
    EXPECT_EQ(HistoryOutageCells(outages[0]),
              (std::vector<std::string>{"2026-12-08 10:10", "2026-12-08 10:15", "5 min 00 s", "30", "time-out"}));
    EXPECT_EQ(outages[1].From, At(10, 21)) << "a minute that saw echoes is no outage";
    EXPECT_EQ(outages[1].Length(), minutes(1));
    EXPECT_EQ(outages[1].Kinds(), "time-out, TTL exceeded");
    EXPECT_EQ(outages[1].Lost, 12u);
    EXPECT_EQ(outages[2].From, At(10, 25)) << "judged down by the link model, echoes or not";
    EXPECT_EQ(outages[2].Lost, 0u);
}

TEST_F(HistoryOutages, ShowWholeWhenTheRangeCutsThemAndCountOnlyTheirPartWithin)
{
    const std::vector<THistoryOutage> outages = HistoryOutagesOf(bins, At(10, 12), At(10, 14));
    ASSERT_EQ(outages.size(), 1u);
    EXPECT_EQ(outages[0].From, At(10, 10));
    const THistoryOutageTotals totals = HistoryOutageTotals(outages, At(10, 12), At(10, 14));
    EXPECT_EQ(totals.Total, minutes(5));
    EXPECT_EQ(totals.InRange, minutes(2));
    EXPECT_TRUE(HistoryOutagesOf(bins, At(10, 15), At(10, 21)).empty());
    const THistoryFigures figures = bins.Figures(At(10, 12), At(10, 14));
    const std::vector<std::string> lines = HistoryFigureLines(figures, totals);
    EXPECT_EQ(lines.back(), "Outages: 1, 5 min 00 s in all, longest 5 min 00 s");
    EXPECT_NE(lines[2].find("Availability: 0.000 % of awake time"), std::string::npos) << lines[2];
}

TEST(HistoryRange, MovesByHalfItsWidthAndZoomsAroundItsMiddleWithinItsBounds)
{
    const TInstant now = TInstant(hours(1000));
    const THistoryRange day = THistoryRange::Last(hours(24), now);
    EXPECT_EQ(day.Moved(-1), (THistoryRange{now - hours(36), now - hours(12)}));
    EXPECT_EQ(day.Moved(1).Moved(-1), day);
    EXPECT_EQ(day.Zoomed(1), (THistoryRange{now - hours(18), now - hours(6)}));
    EXPECT_EQ(day.Zoomed(1).Zoomed(-1), day);
    THistoryRange narrow = day;
    for (int i = 0; i < 20; ++i)
        narrow = narrow.Zoomed(1);
    EXPECT_EQ(narrow.Width(), minutes(1));
    THistoryRange wide = day;
    for (int i = 0; i < 20; ++i)
        wide = wide.Zoomed(-1);
    EXPECT_EQ(wide.Width(), minutes(THistoryBins::MaxMinutes));
    EXPECT_EQ(day.CentredOn(now - hours(100)), (THistoryRange{now - hours(112), now - hours(88)}));
    EXPECT_EQ(day.Moved(-1).AtNow(now), day);
}

// The Y axis follows the 99th percentile, not an outlier; the log axis
// starts at the decade below the least trip time.
TEST(HistoryRange, TheAxisFollowsTheNinetyNinthPercentile)
{
    THistoryMinute minute;
    for (int i = 0; i < 99; ++i)
        minute.AddEcho(4000 + static_cast<std::uint32_t>(i) * 200);
    minute.AddEcho(2000000); // an outlier of 2 s
    THistoryFigures figures;
    figures.Add(minute, 60000);
    const std::uint32_t top = HistoryAxisTopUs(figures);
    EXPECT_GE(top, 4000u + 98 * 200);
    EXPECT_LT(top, 40000u);
    EXPECT_EQ(HistoryLogAxisBottomUs(figures), 1000u);
    EXPECT_EQ(HistoryAxisTopUs(THistoryFigures{}), 1000u);
    EXPECT_EQ(HistoryLogAxisBottomUs(THistoryFigures{}), 100u);
}

TEST(HistoryTexts, DurationsAndTheApproximatePercentile)
{
    EXPECT_EQ(HistoryDurationText(seconds(12)), "12 s");
    EXPECT_EQ(HistoryDurationText(seconds(200)), "3 min 20 s");
    EXPECT_EQ(HistoryDurationText(minutes(65)), "1 h 05 min");
    EXPECT_EQ(HistoryDurationText(hours(50)), "2 d 02 h");
    EXPECT_EQ(HistoryDurationText(-seconds(5)), "0 s");
    THistoryFigures many, two;
    THistoryMinute minute;
    for (std::uint32_t trip = 1000; trip <= 100000; trip += 1000)
        minute.AddEcho(trip);
    many.Add(minute, 60000);
    THistoryMinute few;
    few.AddEcho(1000);
    few.AddEcho(3000);
    two.Add(few, 60000);
    EXPECT_NE(HistoryFigureLines(many, {})[1].find("p95: \xE2\x89\x88"), std::string::npos);
    EXPECT_NE(HistoryFigureLines(two, {})[1].find("p95: 3.0 ms"), std::string::npos) << HistoryFigureLines(two, {})[1];
    EXPECT_EQ(HistoryFigureLines(THistoryFigures{}, {})[1], "Min/avg/max: -    p95: -    Jitter: -");
}

TEST(HistoryTexts, TheRangeAsCsvHasARowForEachMinuteThatSawPingsOrSleep)
{
    THistoryBins bins(kRunStart);
    bins.AddPing(Ping(rsEcho, 20000, kRunStart.Wall.UtcMs + 10000));
    bins.AddPing(Ping(rsTimeOut, 1000000, kRunStart.Wall.UtcMs + 20000));
    bins.AddPing(Ping(rsEcho, 30000, kRunStart.Wall.UtcMs + 30000));
    const TInstant asleep = kRunStart.Mono + minutes(3);
    bins.AddSleep({{asleep, {kRunStart.Wall.UtcMs + 180000, 60}}, {asleep + seconds(90), {kRunStart.Wall.UtcMs + 270000, 60}}});
    std::string csv;
    WriteHistoryRangeCsv(bins, kRunStart.Mono, kRunStart.Mono + minutes(10), [&](std::string_view b) { csv += b; });
    EXPECT_EQ(csv, "\xEF\xBB\xBFTime,Pings,Lost,Min [\xC2\xB5s],Avg [\xC2\xB5s],Max [\xC2\xB5s],Held up,Asleep [s],Down [s]\r\n"
                   "2026-12-08T08:00:00+01:00,3,1,20000,25000,30000,0,0.000,0.000\r\n"
                   "2026-12-08T08:03:00+01:00,0,0,,,,0,60.000,0.000\r\n"
                   "2026-12-08T08:04:00+01:00,0,0,,,,0,30.000,0.000\r\n");
}

} // namespace
