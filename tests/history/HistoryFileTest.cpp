// The history files: a row of every status written and read back, the
// exact bytes of a row, a table of damaged files (every bad line skipped
// and counted, nothing else lost), and a replay that gives the minute bins
// of the live run.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "history/HistoryBins.h"
#include "history/HistoryFile.h"
#include "history/HistoryReader.h"
#include "tests/history/FiledPing.h"
#include "tests/text/Latin1ToUtf8.h"

namespace {

using namespace std::chrono;

struct TCollected : THistoryVisitor {
    std::vector<TPingRecord> Pings;
    std::vector<TSleep> Sleeps;
    void PingRead(const TPingRecord& record) override { Pings.push_back(record); }
    void SleepRead(const TSleep& sleep) override { Sleeps.push_back(sleep); }
};

std::string Written(const std::vector<TPingRecord>& pings)
{
    THistoryWriter writer(Latin1ToUtf8);
    std::string text = HistoryFileStart();
    for (const TPingRecord& r : pings)
        writer.AddPing(r);
    writer.HandOn([&](std::string_view rows) { text += rows; });
    return text;
}

constexpr std::int64_t kMorning = 1796634131042; // 2026-12-07T09:02:11.042 UTC

TEST(HistoryFile, RowsOfEveryStatusAndASleepReadBackAsWritten)
{
    std::vector<TPingRecord> pings;
    for (TReplyStatusKind kind : {rsEcho, rsError, rsTimeOut, rsErrorUnreachable, rsErrorTTLExceeded})
        pings.push_back(FiledPing(kind, 1000 + kind * 777777, kMorning + kind * 1000, kind * 30 - 60));
    pings[0].Host = "Z\xFCrich, \"Etage\" 2"; // quotes, a comma and a letter of the code page
    pings[2].HeldUp = true;
    pings[4].TripUs = UINT32_MAX;
    THistoryWriter writer(Latin1ToUtf8);
    std::string text = HistoryFileStart();
    for (const TPingRecord& r : pings)
        EXPECT_TRUE(writer.AddPing(r));
    TPingRecord notSent = pings[0];
    notSent.Outcome = TPingOutcome::NotSent;
    EXPECT_FALSE(writer.AddPing(notSent)) << "a ping that sent nothing is no row";
    const TSleep sleep{{TInstant(milliseconds(kMorning + 9000)), {kMorning + 9000, 60}},
                       {TInstant(milliseconds(kMorning + 9000) + hours(30)), {kMorning + 9000 + 108000000, 60}}};
    writer.AddSleep(sleep, "now.example");
    writer.HandOn([&](std::string_view rows) { text += rows; });

    TCollected read;
    THistoryReader reader;
    const THistoryReadCounts counts = reader.Read(text, read);
    EXPECT_EQ(counts.Rows, 6u);
    EXPECT_EQ(counts.Skipped, 0u);
    ASSERT_EQ(read.Pings.size(), pings.size());
    for (std::size_t i = 0; i < pings.size(); ++i) {
        const TPingRecord &a = pings[i], &b = read.Pings[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(b.Outcome, a.Outcome);
        EXPECT_EQ(b.Reply.Kind, a.Reply.Kind);
        EXPECT_EQ(b.Host, Latin1ToUtf8(a.Host));
        EXPECT_EQ(b.Reply.AddressFrom, a.Reply.AddressFrom);
        EXPECT_EQ(b.Reply.Bytes, a.Reply.Bytes);
        EXPECT_EQ(b.Reply.SeqId, a.Reply.SeqId);
        EXPECT_EQ(b.Reply.TimeToLive, a.Reply.TimeToLive);
        EXPECT_EQ(b.TripUs, a.TripUs);
        EXPECT_EQ(b.Reply.TripTime, a.TripUs / 1000);
        EXPECT_EQ(b.HeldUp, a.HeldUp);
        EXPECT_EQ(b.Filed.UtcMs, a.Filed.UtcMs);
        EXPECT_EQ(b.Filed.OffsetMinutes, a.Filed.OffsetMinutes);
        EXPECT_EQ(b.Ended(), TInstant(milliseconds(a.Filed.UtcMs)));
    }
    ASSERT_EQ(read.Sleeps.size(), 1u);
    EXPECT_EQ(read.Sleeps[0].Length(), hours(30));
    EXPECT_EQ(read.Sleeps[0].End.Wall.UtcMs, sleep.End.Wall.UtcMs);
    EXPECT_EQ(read.Sleeps[0].Begin.Wall.UtcMs, sleep.Begin.Wall.UtcMs);
}

TEST(HistoryFile, IsUtf8WithAByteOrderMarkCaptionsAndCrLfRows)
{
    TPingRecord echo = FiledPing(rsEcho, 21450, kMorning, 60);
    echo.Reply.SeqId = 1234;
    EXPECT_EQ(Written({echo}), "\xEF\xBB\xBF"
                               "Time,Host,Address,Status,Trip time [\xC2\xB5s],TTL,Bytes,Seq,Held up\r\n"
                               "2026-12-07T10:02:11.042+01:00,now.example,198.51.100.20,rsEcho,21450,57,72,1234,0\r\n");
    THistoryWriter writer(Latin1ToUtf8);
    writer.AddSleep({{TInstant(seconds(0)), {}}, {TInstant(seconds(90)), {kMorning, -330}}}, "a,b");
    std::string row;
    writer.HandOn([&](std::string_view rows) { row += rows; });
    EXPECT_EQ(row, "2026-12-07T03:32:11.042-05:30,\"a,b\",,asleep,90000000,,,,\r\n");
    struct Case {
        int year, month, day;
        const char* name;
    } names[] = {{2026, 12, 7, "zentvorlumo-2026-12-07.csv"}, {987, 1, 31, "zentvorlumo-0987-01-31.csv"}};
    for (const Case& c : names)
        EXPECT_EQ(HistoryFileName({c.year, c.month, c.day}), c.name);
    // A row belongs to the file of its local day.
    const TCivilTime day = HistoryFileDay({1796684400000 - 1, 60}); // 23:59:59.999 local on the 7th
    EXPECT_EQ(HistoryFileName(day), "zentvorlumo-2026-12-07.csv");
    EXPECT_EQ(HistoryFileName(HistoryFileDay({1796684400000, 60})), "zentvorlumo-2026-12-08.csv");
}

TEST(HistoryFile, DamagedFilesLoseOnlyTheirBadLines)
{
    const std::string good = "2026-12-07T10:02:11.042+01:00,h,198.51.100.20,rsEcho,21450,57,72,1234,0\r\n";
    const std::string header = "\xEF\xBB\xBF" + std::string(HistoryCaptions()) + "\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        std::uint64_t rows, skipped;
    } cases[] = {
        {"a 0-byte file", "", 0, 0},
        {"the byte-order mark alone", "\xEF\xBB\xBF", 0, 0},
        {"the captions alone", header, 0, 0},
        {"no captions, LF lines, blank lines", good.substr(0, good.size() - 2) + "\n\n\r\n" + good, 2, 0},
        {"captions again in the middle", header + good + header.substr(3) + good, 2, 0},
        {"cut within the last row", header + good + good.substr(0, 40), 1, 1},
        {"cut within a quoted field", header + good + "2026-12-07T10:02:11+01:00,\"now.exa", 1, 1},
        {"a cut row then a whole one on its line", header + good.substr(0, 30) + good, 0, 1},
        {"8 fields", "2026-12-07T10:02:11+01:00,h,a,rsEcho,1,2,3,4\r\n" + good, 1, 1},
        {"10 fields", "2026-12-07T10:02:11+01:00,h,a,rsEcho,1,2,3,4,0,\r\n" + good, 1, 1},
        {"a negative trip time", "2026-12-07T10:02:11+01:00,h,a,rsEcho,-5,57,72,1,0\r\n", 0, 1},
        {"letters in a number", "2026-12-07T10:02:11+01:00,h,a,rsEcho,12a,57,72,1,0\r\n", 0, 1},
        {"a trip time past 32 bits", "2026-12-07T10:02:11+01:00,h,a,rsEcho,4294967296,57,72,1,0\r\n", 0, 1},
        {"TTL 256", "2026-12-07T10:02:11+01:00,h,a,rsEcho,1,256,72,1,0\r\n", 0, 1},
        {"sequence 65536", "2026-12-07T10:02:11+01:00,h,a,rsEcho,1,57,72,65536,0\r\n", 0, 1},
        {"held up 2", "2026-12-07T10:02:11+01:00,h,a,rsEcho,1,57,72,1,2\r\n", 0, 1},
        {"an empty number", "2026-12-07T10:02:11+01:00,h,a,rsEcho,,57,72,1,0\r\n", 0, 1},
        {"30 February", "2026-02-30T10:02:11+01:00,h,a,rsEcho,1,57,72,1,0\r\n", 0, 1},
        {"hour 24", "2026-12-07T24:00:00+01:00,h,a,rsEcho,1,57,72,1,0\r\n", 0, 1},
        {"no offset", "2026-12-07T10:02:11,h,a,rsEcho,1,57,72,1,0\r\n", 0, 1},
        {"a bad offset", "2026-12-07T10:02:11+1:00,h,a,rsEcho,1,57,72,1,0\r\n", 0, 1},
        {"an unknown status", "2026-12-07T10:02:11+01:00,h,a,rsLost,1,57,72,1,0\r\n", 0, 1},
        {"a sleep without its length", "2026-12-07T10:02:11Z,h,,asleep,,,,,\r\n", 0, 1},
        {"another program's CSV", "Name,Value\r\nalpha,1\r\n\"beta, gamma\",2\r\n", 0, 3},
        {"a stray quote", "2026-12-07T10:02:11+01:00,\"h\"x,a,rsEcho,1,57,72,1,0\r\n" + good, 1, 1},
    };
    for (const Case& c : cases) {
        TCollected read;
        THistoryReader reader;
        const THistoryReadCounts counts = reader.Read(c.bytes, read);
        EXPECT_EQ(counts.Rows, c.rows) << c.what;
        EXPECT_EQ(counts.Skipped, c.skipped) << c.what;
        EXPECT_EQ(read.Pings.size() + read.Sleeps.size(), c.rows) << c.what;
    }
}

TEST(HistoryFile, RowsAppendedAfterACutRowLoseOnlyThatRow)
{
    const std::string start = HistoryFileStart();
    const std::string row = Written({FiledPing(rsEcho, 21450, kMorning, 60)}).substr(start.size());
    struct Case {
        const char* what;
        std::string before;
        std::uint64_t rows, skipped;
    } cases[] = {
        {"a new file", "", 1, 0},
        {"after a whole row", start + row, 2, 0},
        {"after a row cut by a kill", start + row.substr(0, 50), 1, 1},
    };
    for (const Case& c : cases) {
        const std::string tail = c.before.empty() ? "" : c.before.substr(c.before.size() - 1);
        TCollected read;
        const THistoryReadCounts counts = THistoryReader().Read(c.before + HistoryAppendPrefix(tail) + row, read);
        EXPECT_EQ(counts.Rows, c.rows) << c.what;
        EXPECT_EQ(counts.Skipped, c.skipped) << c.what;
    }
}

TEST(HistoryFile, JunkOfAHundredMegabytesIsSkippedLineByLine)
{
    // Bytes of CSV's own alphabet, so that the splitter and every parser get work.
    std::string junk(100u << 20, '\0');
    std::uint32_t x = 2463534242u;
    static constexpr char kAlphabet[] = "0123456789,,,\"\"\r\n:-+TZ.asleeprsEcho ";
    for (char& c : junk) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        c = (x >> 24) < 200 ? kAlphabet[x % (sizeof kAlphabet - 1)] : static_cast<char>(x >> 8);
    }
    TCollected read;
    THistoryReader reader;
    const THistoryReadCounts counts = reader.Read(junk, read);
    EXPECT_EQ(counts.Rows, 0u);
    EXPECT_GT(counts.Skipped, 1000000u);
}

TEST(HistoryFile, InstantsNeverGoBackAndTheRunGoingOnIsLeftOut)
{
    const std::string text = Written({FiledPing(rsEcho, 5000, kMorning, 60), FiledPing(rsEcho, 5000, kMorning - 3600000, 60),
                                      FiledPing(rsEcho, 5000, kMorning + 1000, 60)});
    TCollected read;
    THistoryReader().Read(text, read);
    ASSERT_EQ(read.Pings.size(), 3u);
    EXPECT_EQ(read.Pings[1].Ended(), read.Pings[0].Ended()) << "time stood still";
    EXPECT_EQ(read.Pings[1].Filed.UtcMs, kMorning - 3600000) << "the wall time is kept as written";
    EXPECT_EQ(read.Pings[2].Ended(), TInstant(milliseconds(kMorning + 1000)));

    // Today's file read up to the start of the run now going on.
    TCollected earlier;
    THistoryReader reader;
    reader.SetEnd(kMorning);
    const THistoryReadCounts counts = reader.Read(text, earlier);
    EXPECT_EQ(counts.Rows, 1u);
    EXPECT_EQ(counts.Later, 2u);
    EXPECT_EQ(earlier.Pings.at(0).Filed.UtcMs, kMorning - 3600000);
}

// Bins fed by replaying the files hold what the live run's bins held, also
// when the later file is read first (a window that shows the newest day first).
TEST(HistoryFile, AReplayFillsTheMinutesAsTheLiveRunDid)
{
    struct TToBins : THistoryVisitor {
        THistoryBins& Bins;
        explicit TToBins(THistoryBins& bins) : Bins(bins) {}
        void PingRead(const TPingRecord& record) override { Bins.AddPing(record); }
        void SleepRead(const TSleep& sleep) override { Bins.AddSleep(sleep); }
    };
    const TWallStamp start{kMorning - kMorning % 60000, 60};
    THistoryBins live(HistoryReplayReading(start));
    // Two files, as two days' are: the later starts on a minute of its own.
    THistoryWriter earlierRows(Latin1ToUtf8), laterRows(Latin1ToUtf8);
    std::mt19937 random(5);
    std::int64_t at = start.UtcMs;
    for (int i = 0; i < 5000; ++i) {
        at += 500 + random() % 2000;
        if (i == 3000)
            at = (at / 60000 + 1) * 60000 + 5000;
        THistoryWriter& writer = i < 3000 ? earlierRows : laterRows;
        const TReplyStatusKind kind = random() % 8 ? rsEcho : rsTimeOut;
        TPingRecord r = FiledPing(kind, 1000 + random() % 90000, at, i < 1500 ? 60 : 120); // summer time from the 1500th
        live.AddPing(r);
        writer.AddPing(r);
        if (i % 1000 == 999) {
            const TSleep sleep{{r.Ended(), r.Filed}, {r.Ended() + minutes(20), {at + 1200000, r.Filed.OffsetMinutes}}};
            at += 1200000;
            live.AddSleep(sleep);
            writer.AddSleep(sleep, r.Host);
        }
    }
    std::string earlier = HistoryFileStart(), later = HistoryFileStart();
    earlierRows.HandOn([&](std::string_view text) { earlier += text; });
    laterRows.HandOn([&](std::string_view text) { later += text; });
    THistoryBins inOrder(HistoryReplayReading(start)), newestFirst(HistoryReplayReading(start));
    TToBins toInOrder(inOrder), toNewestFirst(newestFirst);
    THistoryReader reader;
    reader.Read(earlier, toInOrder);
    reader.Read(later, toInOrder);
    THistoryReader().Read(later, toNewestFirst);
    THistoryReader().Read(earlier, toNewestFirst);
    for (const THistoryBins* replayed : {&inOrder, &newestFirst}) {
        ASSERT_EQ(replayed->FirstMinute(), live.FirstMinute());
        ASSERT_EQ(replayed->EndMinute(), live.EndMinute());
        for (std::int64_t m = live.FirstMinute(); m < live.EndMinute(); ++m) {
            const THistoryMinute a = live.At(m), b = replayed->At(m);
            ASSERT_EQ(a.Echoes, b.Echoes) << m;
            ASSERT_EQ(a.TimeOuts, b.TimeOuts) << m;
            ASSERT_EQ(a.TripSum, b.TripSum) << m;
            ASSERT_EQ(a.ChangeSum, b.ChangeSum) << m;
            ASSERT_EQ(a.AsleepMs, b.AsleepMs) << m;
            ASSERT_EQ(live.Label(m).UtcMs, replayed->Label(m).UtcMs) << m;
            ASSERT_EQ(live.Label(m).OffsetMinutes, replayed->Label(m).OffsetMinutes) << m;
        }
    }
}

} // namespace
