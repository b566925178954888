// The outage report: local clock times as dates, one row per outage with an
// open one last, and the summary line of the copied report.
#include <gtest/gtest.h>

#include "console/OutageReport.h"

namespace {

constexpr TLocalMs kStart = 1796651882000; // 2026-12-07 13:58:02 on the local clock
constexpr TLocalMs kSecond = 1000;

} // namespace

TEST(OutageReport, LocalClockTimesBecomeDates)
{
    struct Case {
        TLocalMs time;
        const char* iso;
    } cases[] = {
        {0, "1970-01-01T00:00:00+00:00"},
        {-1, "1969-12-31T23:59:59+00:00"},
        {951868799000, "2000-02-29T23:59:59+00:00"},
        {kStart + 999, "2026-12-07T13:58:02+00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsoMoment({LocalTimeOf(c.time), 0}), c.iso) << c.time;
}

TEST(OutageReport, OneRowPerOutageAndASummaryOfTheRun)
{
    TRunFigures figures(kStart);
    EXPECT_EQ(OutageReportText(figures, kStart, 60),
              "0 outages since 2026-12-07T13:58:02+01:00, 0.0 s down in all, availability 100.0 %\r\n"
              "Start\tEnd\tDuration [s]\tPings lost\tKinds\r\n");

    figures.AddEcho(10, kStart + 30 * kSecond);
    figures.AddFailure(rsTimeOut, kStart + 60 * kSecond);
    figures.AddFailure(rsErrorUnreachable, kStart + 61 * kSecond);
    figures.AddEcho(12, kStart + 62 * kSecond + 500);
    figures.AddFailure(rsErrorTTLExceeded, kStart + 3600 * kSecond);
    const TLocalMs now = kStart + 4350 * kSecond;
    EXPECT_EQ(OutageReportText(figures, now, -300),
              "2 outages since 2026-12-07T13:58:02-05:00, 12 min 32 s down in all, availability 82.7 %\r\n"
              "Start\tEnd\tDuration [s]\tPings lost\tKinds\r\n"
              "2026-12-07T13:59:02-05:00\t2026-12-07T13:59:04-05:00\t3\t2\trsTimeOut, rsErrorUnreachable\r\n"
              "2026-12-07T14:58:02-05:00\t\t750\t1\trsErrorTTLExceeded\r\n");
    EXPECT_EQ(CsvText(OutageTable(figures, now, 0), [](std::string_view s) { return std::string(s); }),
              "\xEF\xBB\xBF" "Start,End,Duration [s],Pings lost,Kinds\r\n"
              "2026-12-07T13:59:02+00:00,2026-12-07T13:59:04+00:00,3,2,\"rsTimeOut, rsErrorUnreachable\"\r\n"
              "2026-12-07T14:58:02+00:00,,750,1,rsErrorTTLExceeded\r\n");
}
