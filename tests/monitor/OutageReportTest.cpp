// The outage report: wall stamps as dates in their own offsets, one row per
// outage with an open one last, the summary line of the copied report, and
// durations that a clock set or a daylight-saving change does not move.
#include <gtest/gtest.h>

#include "monitor/MonitorRun.h"
#include "monitor/OutageReport.h"
#include "monitor/RunFiguresFeed.h"
#include "monitor/RunTipText.h"

namespace {

constexpr std::int64_t kStart = 1796651882000; // 2026-12-07 13:58:02 UTC
constexpr std::int64_t kSecond = 1000;

// `ms` after kStart on the monotonic clock, and on a wall clock that agrees
// with it at the offset given.
TClockReading At(std::int64_t ms, int offsetMinutes)
{
    return {TInstant(std::chrono::milliseconds(ms)), {kStart + ms, offsetMinutes}};
}

} // namespace

TEST(OutageReport, WallStampsBecomeDatesInTheirOwnOffset)
{
    struct Case {
        TWallStamp stamp;
        const char* iso;
    } cases[] = {
        {{0, 0}, "1970-01-01T00:00:00+00:00"},
        {{-1, 0}, "1969-12-31T23:59:59+00:00"},
        {{951868799000, 0}, "2000-02-29T23:59:59+00:00"},
        {{kStart + 999, 0}, "2026-12-07T13:58:02+00:00"},
        {{kStart, -840}, "2026-12-06T23:58:02-14:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsoMoment(c.stamp), c.iso) << c.stamp.UtcMs;
}

TEST(OutageReport, OneRowPerOutageAndASummaryOfTheRun)
{
    TRunFigures figures(At(0, 60));
    TLinkModel link(At(0, 60));
    EXPECT_EQ(OutageReportText(figures, link, At(0, 60).Mono),
              "0 outages since 2026-12-07T14:58:02+01:00, 0.0 s down in all, availability 100.0 %\r\n"
              "Start\tEnd\tDuration [s]\tPings lost\tKinds\r\n");

    figures.Start(At(0, -300));
    link.Start(At(0, -300));
    TAlertOptions options;
    options.DownAfter = options.UpAfter = 1;
    link.SetOptions(options);
    // Pings ended at `ms` (failures sent a second before), driven without a run.
    auto ping = [&](std::int64_t ms, TReplyStatusKind kind) {
        TPingRecord r;
        r.Outcome = kind == rsEcho ? TPingOutcome::Echo : TPingOutcome::Failure;
        r.Reply.Kind = kind;
        r.TripUs = kind == rsEcho ? 10 : 1000000;
        r.Sent = At(ms, -300).Mono - TDuration(r.TripUs);
        r.Filed = At(ms, -300).Wall;
        kind == rsEcho ? figures.AddEcho(r.TripUs) : figures.AddFailure();
        link.AddPing(r);
    };
    ping(30 * kSecond, rsEcho);
    ping(61 * kSecond, rsTimeOut);
    ping(62 * kSecond, rsErrorUnreachable);
    ping(62 * kSecond + 500, rsEcho);
    ping(3601 * kSecond, rsErrorTTLExceeded);
    const TInstant now = At(4350 * kSecond, -300).Mono;
    EXPECT_EQ(OutageReportText(figures, link, now),
              "2 outages since 2026-12-07T08:58:02-05:00, 12 min 32 s down in all, availability 82.7 %\r\n"
              "Start\tEnd\tDuration [s]\tPings lost\tKinds\r\n"
              "2026-12-07T08:59:02-05:00\t2026-12-07T08:59:04-05:00\t3\t2\trsTimeOut, rsErrorUnreachable\r\n"
              "2026-12-07T09:58:02-05:00\t\t750\t1\trsErrorTTLExceeded\r\n");
    EXPECT_EQ(CsvText(OutageTable(link, now), [](std::string_view s) { return std::string(s); }),
              "\xEF\xBB\xBF" "Start,End,Duration [s],Pings lost,Kinds\r\n"
              "2026-12-07T08:59:02-05:00,2026-12-07T08:59:04-05:00,3,2,\"rsTimeOut, rsErrorUnreachable\"\r\n"
              "2026-12-07T09:58:02-05:00,,750,1,rsErrorTTLExceeded\r\n");
}

// A run of 10 echoes, 10 time-outs of 1 s and echoes again, one ping a second,
// read 30 s in. The wall clock is set an hour on or back, or the offset
// changes for daylight saving, during up time or during the outage: the
// outage lasts 11 s, the host is up for 9 s and available 63.3 % of the time
// whatever the wall clock did, and each time shows in the offset it was
// taken in.
TEST(OutageReport, ClockJumpsMoveNoDuration)
{
    struct Case {
        const char* what;
        std::int64_t at;      // seconds into the run
        std::int64_t utcShift; // ms the wall clock is set by
        int offsetShift;      // minutes the offset changes by
        const char* start;
        const char* end;
    } cases[] = {
        {"steady", 99, 0, 0, "2026-12-07T14:58:12+01:00", "2026-12-07T14:58:23+01:00"},
        {"set on in up time", 5, 3600000, 0, "2026-12-07T15:58:12+01:00", "2026-12-07T15:58:23+01:00"},
        {"set back in up time", 5, -3600000, 0, "2026-12-07T13:58:12+01:00", "2026-12-07T13:58:23+01:00"},
        {"set on in the outage", 15, 3600000, 0, "2026-12-07T14:58:12+01:00", "2026-12-07T15:58:23+01:00"},
        {"set back in the outage", 15, -3600000, 0, "2026-12-07T14:58:12+01:00", "2026-12-07T13:58:23+01:00"},
        {"summer time in the outage", 15, 0, 60, "2026-12-07T14:58:12+01:00", "2026-12-07T15:58:23+02:00"},
        {"winter time in the outage", 15, 0, -60, "2026-12-07T14:58:12+01:00", "2026-12-07T13:58:23+00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::int64_t second = 0;
        TMonitorRun run([&] {
            TClockReading reading = At(second * kSecond, 60);
            if (second >= c.at) {
                reading.Wall.UtcMs += c.utcShift;
                reading.Wall.OffsetMinutes += c.offsetShift;
            }
            return reading;
        });
        TRunFiguresFeed feed(run);
        const TListLimits limits;
        TReplyStatus echo, timeOut;
        timeOut.Kind = rsTimeOut;
        for (second = 1; second <= 25; ++second) {
            const bool down = second > 10 && second <= 20;
            run.AddReply(down ? timeOut : echo, down ? 1000000 : 500, false, "h", limits);
        }
        second = 30;
        const TLinkModel& f = feed.Link();
        const TInstant now = run.Now().Mono;
        ASSERT_EQ(f.Outages().size(), 1u);
        const TOutage& outage = f.Outages()[0];
        EXPECT_EQ(outage.Duration(now), std::chrono::seconds(11));
        EXPECT_EQ(IsoMoment(outage.Start.Wall), c.start);
        EXPECT_EQ(IsoMoment(outage.End.Wall), c.end);
        EXPECT_EQ(DurationText(now - f.UpSince(), {}), "9.0 s");
        const std::string summary = OutageSummary(feed.Figures(), f, now);
        EXPECT_NE(summary.find("11 s down in all, availability 63.3 %"), std::string::npos) << summary;
    }
}
