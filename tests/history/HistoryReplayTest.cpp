// Old pings judged again: a run written to history files and read back
// through the replay finds the outages the live link model found.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "history/HistoryFile.h"
#include "history/HistoryReplay.h"
#include "tests/history/FiledPing.h"

namespace {

using namespace std::chrono;

constexpr std::int64_t kDay = 86400000;
constexpr std::int64_t kMidnight = 1796601600000; // 2026-12-07T00:00:00 UTC

// A ping a second from 01:00 to 23:00 of one UTC day: echoes, with bursts
// of 1 to 6 failures of every kind, so some bursts take the link down and
// some are only loss.
std::vector<TPingRecord> ADay(std::int64_t day, std::mt19937& random)
{
    const TReplyStatusKind kinds[] = {rsTimeOut, rsErrorUnreachable, rsErrorTTLExceeded};
    std::vector<TPingRecord> pings;
    int burst = 0;
    for (std::int64_t at = day + 3600000; at < day + 23 * 3600000; at += 1000) {
        if (burst == 0 && random() % 200 == 0)
            burst = 1 + static_cast<int>(random() % 6);
        const TReplyStatusKind kind = burst > 0 ? kinds[random() % 3] : rsEcho;
        burst -= burst > 0;
        pings.push_back(FiledPing(kind, kind == rsEcho ? 20000 + static_cast<std::uint32_t>(random() % 3000) : 1000000,
                                  at, 60));
    }
    return pings;
}

std::string Written(const std::vector<TPingRecord>& pings)
{
    THistoryWriter writer([](std::string_view text) { return std::string(text); });
    std::string text = HistoryFileStart();
    for (const TPingRecord& r : pings)
        writer.AddPing(r);
    writer.HandOn([&](std::string_view rows) { text += rows; });
    return text;
}

TEST(HistoryReplay, FindsTheLiveOutagesInFilesReadNewestDayFirst)
{
    std::mt19937 random(7);
    const std::vector<TPingRecord> days[] = {ADay(kMidnight, random), ADay(kMidnight + kDay, random)};
    TLinkModel live;
    live.SetRepeating(true, {days[0].front().Sent, days[0].front().Filed});
    for (const auto& day : days)
        for (const TPingRecord& r : day)
            live.AddPing(r);
    ASSERT_GT(live.OutageCount(), 5u) << "the sequence must take the link down now and then";

    THistoryReplay replay;
    for (int d = 1; d >= 0; --d) {
        THistoryReader reader;
        EXPECT_EQ(reader.Read(Written(days[d]), replay).Skipped, 0u);
    }
    const std::vector<THistoryOutage> found = replay.Outages(TInstant::min(), TInstant::max());
    ASSERT_EQ(found.size(), live.Outages().size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        const TOutage& o = live.Outages()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(found[i].FromWall.UtcMs, o.Start.Wall.UtcMs);
        EXPECT_EQ(found[i].ToWall.UtcMs, o.End.Wall.UtcMs);
        EXPECT_EQ(found[i].Lost, o.Lost);
        EXPECT_EQ(found[i].Kinds(), HistoryOutageOf(o, {}).Kinds());
    }
}

} // namespace
