// The run figures played from short scripts of ping endings: counts and loss
// (a ping still waiting counts nowhere), the exact percentile, jitter, the
// link model's outage records driven without a run, and the tip's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/MonitorRun.h"
#include "monitor/OutageReport.h"
#include "monitor/LinkModel.h"
#include "monitor/RunFigures.h"
#include "monitor/RunFiguresFeed.h"
#include "monitor/RunTipText.h"

namespace {

constexpr std::int64_t T0 = (13 * 3600 + 58 * 60 + 2) * 1000LL; // 13:58:02 UTC on the first day

// `ms` milliseconds on both clocks (the wall clock at UTC).
TClockReading At(std::int64_t ms)
{
    return {TInstant(std::chrono::milliseconds(ms)), {ms, 0}};
}

// A ping that ended at `ms`: an echo of `tripUs`, or a failure sent 1 s before.
TPingRecord Ended(std::int64_t ms, TReplyStatusKind kind, std::uint32_t tripUs)
{
    TPingRecord r;
    r.Outcome = kind == rsEcho ? TPingOutcome::Echo : TPingOutcome::Failure;
    r.Reply.Kind = kind;
    r.TripUs = kind == rsEcho ? tripUs : 1000000;
    r.Sent = At(ms).Mono - TDuration(r.TripUs);
    r.Filed = At(ms).Wall;
    return r;
}

struct Played {
    TRunFigures figures{At(T0)};
    TLinkModel link{At(T0)};
};

// "e12" an echo of 12 µs, "t" a time-out, "u" unreachable, "x" TTL exceeded,
// "n" not sent; one step a second. The link model goes down and up after one.
Played Play(const std::string& script)
{
    Played p;
    TAlertOptions options;
    options.DownAfter = options.UpAfter = 1;
    p.link.SetOptions(options);
    p.link.SetRepeating(true, At(T0));
    std::int64_t at = T0;
    for (std::size_t i = 0; i < script.size(); ++i) {
        at += 1000;
        const char c = script[i];
        if (c == 'e') {
            std::size_t used = 0;
            const unsigned long trip = std::stoul(script.substr(i + 1), &used);
            p.figures.AddEcho(static_cast<std::uint32_t>(trip));
            p.link.AddPing(Ended(at, rsEcho, static_cast<std::uint32_t>(trip)));
            i += used;
        } else if (c == 'n') {
            p.figures.AddNotSent();
        } else {
            p.figures.AddFailure();
            p.link.AddPing(Ended(at, c == 't' ? rsTimeOut : c == 'u' ? rsErrorUnreachable : rsErrorTTLExceeded, 0));
        }
    }
    return p;
}

TEST(RunFigures, CountsLossAndTripTimes)
{
    struct Case {
        const char* script;
        std::uint64_t pings, echoes, failures, notSent;
        std::uint32_t min, max, p95;
        std::uint64_t sum, jitterSum, jitterPairs;
    } cases[] = {
        {"", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        // A ping on its way counts nowhere: only pings that ended are here.
        {"n", 0, 0, 0, 1, 0, 0, 0, 0, 0, 0},
        {"e5", 1, 1, 0, 0, 5, 5, 5, 5, 0, 0},
        {"e10 e4", 2, 2, 0, 0, 4, 10, 10, 14, 6, 1},
        {"e3 e3 e3 e1", 4, 4, 0, 0, 1, 3, 3, 10, 2, 3},
        // Failures between echoes do not break the chain of changes.
        {"e10 t u e20 e15 e15 n", 6, 4, 2, 1, 10, 20, 20, 60, 15, 3},
        {"t t x", 3, 0, 3, 0, 0, 0, 0, 0, 0, 0},
        // Times beyond the dense counts, and the rank across both parts.
        {"e20000000 e1 e70000000", 3, 3, 0, 0, 1, 70000000, 70000000, 90000001, 89999998, 2},
        // Microseconds within one millisecond are told apart.
        {"e1500 e1499 e1501", 3, 3, 0, 0, 1499, 1501, 1501, 4500, 3, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.script);
        std::string s = k.script;
        std::erase(s, ' ');
        const TRunFigures f = Play(s).figures;
        EXPECT_EQ(f.Pings(), k.pings);
        EXPECT_EQ(f.Echoes(), k.echoes);
        EXPECT_EQ(f.Failures(), k.failures);
        EXPECT_EQ(f.NotSent(), k.notSent);
        EXPECT_EQ(f.MinTrip(), k.min);
        EXPECT_EQ(f.MaxTrip(), k.max);
        EXPECT_EQ(f.Percentile95(), k.p95);
        EXPECT_EQ(f.TripSum(), k.sum);
        EXPECT_EQ(f.JitterSum(), k.jitterSum);
        EXPECT_EQ(f.JitterPairs(), k.jitterPairs);
    }
}

TEST(RunFigures, PercentileIsTheNearestRankOfExactCounts)
{
    struct Case {
        int n;       // echoes of trip times 1 .. n
        std::uint32_t p95;
    } cases[] = {{1, 1}, {2, 2}, {19, 19}, {20, 19}, {21, 20}, {100, 95}, {101, 96}};
    for (const Case& k : cases) {
        TRunFigures f;
        for (int i = k.n; i >= 1; --i) // arrival order must not matter
            f.AddEcho(static_cast<std::uint32_t>(i) * 1001);
        EXPECT_EQ(f.Percentile95(), k.p95 * 1001) << k.n;
    }
    TRunFigures tied;
    for (int i = 0; i < 95; ++i)
        tied.AddEcho(7);
    for (int i = 0; i < 5; ++i)
        tied.AddEcho(900);
    EXPECT_EQ(tied.Percentile95(), 7u);
    tied.AddEcho(900);
    EXPECT_EQ(tied.Percentile95(), 900u);
}

TEST(LinkModel, OutagesRunFromTheFirstFailedSendToTheNextEcho)
{
    struct Expected {
        std::int64_t start, end; // seconds after T0; end -1 while open
        std::uint32_t lost;
        std::uint8_t kinds;
    };
    struct Case {
        const char* script;
        std::vector<Expected> outages;
        bool down;
        std::int64_t upSince; // seconds after T0
    } cases[] = {
        {"e1e1", {}, false, 1},
        // At the first ping, ended by an echo: from the send of the first
        // failure (0 s) to the echo's arrival (3 s).
        {"tue1", {{0, 3, 2, fkTimeOut | fkUnreachable}}, false, 3},
        // At the last ping: still open, no end.
        {"e1tt", {{1, -1, 2, fkTimeOut}}, true, 0},
        // Back to back: one echo between them ends the first.
        {"e1te1xe1", {{1, 3, 1, fkTimeOut}, {3, 5, 1, fkTTLExceeded}}, false, 5},
        // An error that sent nothing neither opens nor ends one.
        {"e1nntne1", {{3, 6, 1, fkTimeOut}}, false, 6},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.script);
        const Played played = Play(k.script);
        const TLinkModel& f = played.link;
        ASSERT_EQ(f.Outages().size(), k.outages.size());
        EXPECT_EQ(f.OutageCount(), k.outages.size());
        for (std::size_t i = 0; i < k.outages.size(); ++i) {
            const TOutage& o = f.Outages()[i];
            const Expected& e = k.outages[i];
            EXPECT_EQ(o.Start.Mono, At(T0 + e.start * 1000).Mono) << i;
            EXPECT_EQ(o.Start.Wall.UtcMs, T0 + e.start * 1000) << i;
            EXPECT_EQ(o.Closed, e.end >= 0) << i;
            if (o.Closed) {
                EXPECT_EQ(o.End.Mono, At(T0 + e.end * 1000).Mono) << i;
            }
            EXPECT_EQ(o.Lost, e.lost) << i;
            EXPECT_EQ(o.Kinds, e.kinds) << i;
        }
        EXPECT_EQ(f.Down(), k.down);
        if (!k.down) {
            EXPECT_EQ(f.UpSince(), At(T0 + k.upSince * 1000).Mono);
        }
    }

    // The longest: an open outage counts its time so far.
    const Played played = Play("tte1e1t");
    const TLinkModel& f = played.link;
    EXPECT_EQ(f.Longest(At(T0 + 7000).Mono)->Start.Wall.UtcMs, T0);
    EXPECT_EQ(f.Longest(At(T0 + 9500).Mono)->Start.Wall.UtcMs, T0 + 4000);
}

// Fed by a monitoring run: the echo "Ignore first ping" drops is left out, a
// failure was sent its trip time before it was handled (also when the error
// log is trimmed), a ping that sent nothing counts apart, and "Clear Data"
// starts a new run.
TEST(RunFiguresFeed, FollowsTheRunsRecords)
{
    std::int64_t now = T0;
    TMonitorRun run([&] { return At(now); });
    TRunFiguresFeed feed(run);
    run.ClearData();
    TReplyStatus reply;
    for (std::uint32_t trip : {50u, 4u, 6u})
        run.AddReply(reply, trip, false, "", {100, false, true});
    reply.Kind = rsTimeOut;
    reply.TripTime = 1000;
    for (int i = 0; i < 3; ++i) {
        now += 5000;
        run.AddReply(reply, 1000000, false, "host", {1, true, true});
    }
    run.AddNotSent("nowhere", "Host not found");
    const TRunFigures& f = feed.Figures();
    EXPECT_EQ(f.Echoes(), 2u);
    EXPECT_EQ(f.MaxTrip(), 6u);
    EXPECT_EQ(f.JitterSum(), 2u);
    EXPECT_EQ(f.Failures(), 3u);
    EXPECT_EQ(f.NotSent(), 1u);
    const TLinkModel& link = feed.Link();
    ASSERT_EQ(link.Outages().size(), 1u);
    EXPECT_EQ(link.Outages()[0].Start.Wall.UtcMs, T0 + 4000);
    EXPECT_EQ(link.Outages()[0].Lost, 3u);

    now = T0 + 90000;
    run.ClearData();
    EXPECT_EQ(f.Pings(), 0u);
    EXPECT_TRUE(link.Outages().empty());
    EXPECT_EQ(f.RunStart().Wall.UtcMs, T0 + 90000);
}

TEST(RunTipText, LinesInTheLocalesFormats)
{
    Played p;
    TAlertOptions options;
    options.DownAfter = options.UpAfter = 1;
    p.link.SetOptions(options);
    p.link.SetRepeating(true, At(T0));
    auto ping = [&](std::int64_t ms, TReplyStatusKind kind, std::uint32_t us) {
        if (kind == rsEcho)
            p.figures.AddEcho(us);
        else
            p.figures.AddFailure();
        p.link.AddPing(Ended(ms, kind, us));
    };
    for (int i = 0; i < 1224; ++i)
        ping(T0 + 1000 + i, rsEcho, i % 10 == 9 ? 19000 : 2000);
    for (int i = 0; i < 10; ++i)
        ping(T0 + 3001000 + i * 4500, rsTimeOut, 0);
    ping(T0 + 3045000, rsEcho, 1000);
    ping(T0 + 3051000, rsErrorUnreachable, 0);
    ping(T0 + 3052000, rsEcho, 3000);

    TTipFormat dot;
    const TInstant now = At(T0 + 3052000 + (2 * 3600 + 13 * 60 + 30) * 1000LL).Mono;
    EXPECT_EQ(RunTipLines(p.figures, p.link, now, dot),
              (std::vector<std::string>{
                  "since 13:58:02 \xC2\xB7 1,237 pings",
                  "loss 0.9 % (11 of 1,237)",
                  "min / avg / max 1.00 / 3.69 / 19.0 ms \xC2\xB7 p95 19.0 ms",
                  "jitter (mean change) 3.39 ms",
                  "last 5 min \xC2\xB7 loss 84.6 % \xC2\xB7 avg 2.00 ms \xC2\xB7 jitter 2.00 ms \xC2\xB7 MOS 1.00",
                  "2 outages, longest 45 s (14:48:02 to 14:48:47)",
                  "unstable \xC2\xB7 up for 2 h 13 min",
              }));

    TTipFormat comma{{",", "."}, "."};
    ping(T0 + 3061000, rsTimeOut, 0);
    ping(T0 + 3062000, rsTimeOut, 0);
    p.figures.AddNotSent();
    const std::vector<std::string> down = RunTipLines(p.figures, p.link, At(T0 + 3062000).Mono, comma);
    EXPECT_EQ(down.front(), "since 13.58.02 \xC2\xB7 1.239 pings \xC2\xB7 1 not sent");
    EXPECT_EQ(down[1], "loss 1,0 % (13 of 1.239)");
    EXPECT_EQ(down.back(), "down since 14.49.02, 2 pings");

    const TRunFigures empty(At(T0));
    const TLinkModel idle(At(T0));
    EXPECT_EQ(RunTipText(empty, idle, At(T0 + 61000).Mono, dot),
              "since 13:58:02 \xC2\xB7 0 pings\r\nno outages\r\nidle");
    using std::chrono::milliseconds;
    EXPECT_EQ(DurationText(milliseconds(3 * 86400000LL + 4 * 3600000LL + 59000), dot.Numbers), "3 d 4 h");
    EXPECT_EQ(DurationText(milliseconds(9999), comma.Numbers), "9,9 s");
}

// Trip times in milliseconds with as many decimals as their size allows,
// never "0" for a reply, in the locale's decimal separator.
TEST(RunTipText, TripTimesToTheMicrosecond)
{
    const txt::NumberSeparators dot, comma{",", "."};
    struct Case {
        std::uint64_t sumUs, count;
        const char* text;
    } cases[] = {
        {0, 1, "0.000"},       {1, 1, "0.001"},      {214, 1, "0.214"},        {999, 1, "0.999"},
        {1000, 1, "1.00"},     {3070, 1, "3.07"},    {3075, 1, "3.08"},        {9994, 1, "9.99"},
        {21449, 1, "21.4"},    {99949, 1, "99.9"},   {100000, 1, "100"},       {1234567, 1, "1,235"},
        {641, 3, "0.214"},     {10, 4, "0.003"},     {0, 0, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TripMsText(c.sumUs, c.count, dot), c.text) << c.sumUs << "/" << c.count;
    EXPECT_EQ(TripMsText(214, 1, comma), "0,214");
    EXPECT_EQ(TripMsText(21449, 1, comma), "21,4");
}

} // namespace

// Pings a second, an outage, then an hour asleep from 14:00:00 UTC while
// the host stays down: one outage, the failures just after waking still
// its own, the hour neither up time nor down time, and the tip tells the
// sleep. A held-up wait counts nowhere.
TEST(RunFigures, ASleepIsNeitherUpTimeNorAnOutage)
{
    std::int64_t ms = T0;
    TMonitorRun run([&] { return At(ms); });
    TRunFiguresFeed feed(run);
    TReplyStatus echo, timeOut;
    timeOut.Kind = rsTimeOut;
    auto ping = [&](const TReplyStatus& reply, bool heldUp = false) {
        ms += 1000;
        run.AddReply(reply, reply.Kind == rsEcho ? 2000 : 1000000, heldUp, "h", {});
    };
    ms = 14 * 3600 * 1000LL - 5000; // 13:59:55
    run.SetRepeating(true);
    run.ClearData();
    ping(echo);
    ping(echo);
    ping(timeOut); // sent at 13:59:57
    ping(timeOut);
    ping(timeOut);
    run.Suspend(); // 14:00:00
    ms += 3600 * 1000LL;
    run.Resume(); // 15:00:00
    ping(timeOut, true); // its wait spanned the sleep
    ping(timeOut);
    ping(timeOut);
    ping(echo); // 15:00:04
    ping(echo);
    const TRunFigures& f = feed.Figures();
    const TLinkModel& link = feed.Link();
    EXPECT_EQ(f.Echoes(), 4u);
    EXPECT_EQ(f.Failures(), 5u) << "the failures after waking are lost pings; the held-up wait is none";
    ASSERT_EQ(link.OutageCount(), 1u);
    const TOutage& outage = link.Outages()[0];
    EXPECT_TRUE(outage.Closed);
    EXPECT_EQ(outage.Lost, 5u);
    EXPECT_EQ(outage.Duration({}), std::chrono::seconds(7));
    EXPECT_FALSE(link.Down());
    EXPECT_EQ(f.Asleep(), std::chrono::hours(1));
    const TInstant now = At(ms).Mono;
    EXPECT_EQ(f.AwakeTime(now), std::chrono::seconds(10));
    const std::vector<std::string> lines = RunTipLines(f, link, now, {});
    EXPECT_EQ(lines[lines.size() - 2], "unstable \xC2\xB7 up for 1.0 s");
    EXPECT_EQ(lines.back(), "asleep 14:00 to 15:00");
    EXPECT_NE(OutageSummary(f, link, now).find("7.0 s down in all, availability 30.0 %"), std::string::npos)
        << OutageSummary(f, link, now);
}
