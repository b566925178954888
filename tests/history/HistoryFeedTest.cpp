// The history as a view of a run: what reaches the minutes across "Clear
// Data", and the rows handed on with the day whose file takes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/HistoryFeed.h"

namespace {

using namespace std::chrono;

TEST(HistoryFeed, TakesEveryPingAndSleepAndHandsOnRowsByLocalDay)
{
    // Ten seconds to local midnight (UTC+1) at the start; each reading a second later.
    TClockReading now{TInstant(seconds(100)), {1796684400000 - 10000, 60}};
    TMonitorRun run([&] { return now; });
    THistoryFeed feed(run, [](std::string_view text) { return std::string(text); });
    std::vector<std::pair<std::string, std::string>> rows; // file, row
    auto step = [&](int secondsOn) {
        now.Mono += seconds(secondsOn);
        now.Wall.UtcMs += secondsOn * 1000;
    };
    TReplyStatus echo;
    echo.AddressFrom = "198.51.100.20";
    TReplyStatus lost;
    lost.Kind = rsTimeOut;

    step(1);
    run.AddReply(echo, 20000, false, "h", {}); // before the sink: in the minutes only
    feed.SetRowSink([&](const TCivilTime& day, std::string_view text) { rows.emplace_back(HistoryFileName(day), text); });
    step(1);
    run.AddReply(lost, 1000000, false, "h", {});
    run.ClearData(); // the history goes on
    step(1);
    run.AddReply(echo, 30000, false, "h", {});
    step(1);
    run.AddReply(lost, 1000000, true, "h", {}); // held up
    run.AddNotSent("h", "no such host"); // sends nothing: no row
    run.Suspend();
    step(60);
    run.Resume();

    const THistoryBins& bins = feed.Bins();
    const THistoryFigures f = bins.Figures(bins.StartOf(bins.FirstMinute()), bins.Latest() + minutes(1));
    EXPECT_EQ(f.Echoes, 2u);
    EXPECT_EQ(f.TimeOuts, 1u);
    EXPECT_EQ(f.HeldUp, 1u);
    EXPECT_NEAR(f.AsleepMs, 60000, 1);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].first, "zentvorlumo-2026-12-07.csv");
    EXPECT_EQ(rows[0].second.substr(0, 30), "2026-12-07T23:59:52.000+01:00,");
    EXPECT_NE(rows[2].second.find(",rsTimeOut,1000000,0,0,0,1\r\n"), std::string::npos) << rows[2].second;
    EXPECT_EQ(rows[3].first, "zentvorlumo-2026-12-08.csv") << "the sleep ended after midnight";
    EXPECT_NE(rows[3].second.find(",asleep,60000000,"), std::string::npos) << rows[3].second;
}

} // namespace
