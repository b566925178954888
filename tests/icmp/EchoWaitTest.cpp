// The wait loop with a scripted socket and clock: what ends the wait, how the
// remaining time is reckoned, and that a short datagram never shows bytes left
// over from a longer one before it.
#include "icmp/EchoWait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "icmp/MillisecondCounter.h"
#include "tests/icmp/Datagrams.h"

namespace {

constexpr std::uint16_t Seq = 3489;

struct Arrival {
    std::uint32_t at; // clock value once it has been received
    std::vector<std::uint8_t> datagram; // empty: nothing came in time
};

class ScriptedIo : public TEchoWaitIo {
public:
    ScriptedIo(std::uint32_t start, std::vector<Arrival> script) : now_(start), script_(std::move(script)) {}

    std::int32_t Receive(std::span<std::uint8_t> buffer, std::int32_t timeout) override
    {
        timeouts.push_back(timeout);
        if (next_ == script_.size()) {
            now_ += static_cast<std::uint32_t>(timeout);
            return 0;
        }
        const Arrival& a = script_[next_++];
        now_ = a.at;
        std::copy(a.datagram.begin(), a.datagram.end(), buffer.begin());
        return static_cast<std::int32_t>(a.datagram.size());
    }
    std::uint32_t ReadMillisecondCounter() override { return now_; }
    void HeldUp() override { heldUp = true; }

    std::vector<std::int32_t> timeouts;
    bool heldUp = false;

private:
    std::uint32_t now_;
    std::vector<Arrival> script_;
    std::size_t next_ = 0;
};

TReplyStatus Wait(ScriptedIo& io, std::int32_t timeout)
{
    std::array<std::uint8_t, ReceiveBufferSize> buffer;
    buffer.fill(0xCC);
    return AwaitEchoReply(io, buffer, OurId, Seq, timeout);
}

TEST(AwaitEchoReply, SkipsForeignRepliesAndTakesTheMatchingOne)
{
    ScriptedIo io(1000, {{1010, EchoDatagram(0, Seq - 1, 64, {127, 0, 0, 1})},
                         {1020, EchoDatagram(8, Seq, 128, {127, 0, 0, 1})}});
    TReplyStatus s = Wait(io, 500);
    EXPECT_EQ(s.Kind, rsEcho);
    EXPECT_EQ(s.IcmpType, 8);
    EXPECT_EQ(s.Bytes, 72);
    EXPECT_EQ(io.timeouts, (std::vector<std::int32_t>{500, 490}));
}

TEST(AwaitEchoReply, ForeignDatagramsNeitherAnswerNorShortenTheWait)
{
    // Another program's traffic: a late reply, replies and a report under a
    // foreign identifier with our sequence. What is left is always the time-out
    // less the time since the start, and the wait ends at the time-out itself.
    struct Case {
        const char* what;
        std::vector<Arrival> script;
        std::vector<std::int32_t> timeouts;
    } cases[] = {
        {"three foreign datagrams, then nothing",
         {{100, EchoDatagram(0, Seq - 1, 64, {127, 0, 0, 1})},
          {300, EchoDatagram(0, Seq, 64, {127, 0, 0, 1}, OurId ^ 0x0101)},
          {700, ErrorReport(3, 1, Seq, 52, {203, 0, 113, 1}, 0, OurId + 4)}},
         {1000, 900, 700, 300}},
        {"a foreign echo reply at the very end",
         {{400, EchoDatagram(0, Seq, 64, {127, 0, 0, 1}, 0)}, {1000, EchoDatagram(0, Seq, 64, {127, 0, 0, 1}, 0)}},
         {1000, 600}},
    };
    for (const auto& c : cases) {
        ScriptedIo io(0, c.script);
        TReplyStatus s = Wait(io, 1000);
        EXPECT_EQ(io.timeouts, c.timeouts) << c.what;
        EXPECT_EQ(io.ReadMillisecondCounter(), 1000u) << c.what;
        EXPECT_EQ(s.Kind, rsTimeOut) << c.what;
        EXPECT_EQ(s.Bytes, 0) << c.what;
        EXPECT_EQ(s.AddressFrom, "0.0.0.0") << c.what;
        EXPECT_EQ(s.IcmpType, 0) << c.what;
        EXPECT_EQ(s.SeqId, Seq) << c.what;
        EXPECT_EQ(s.TimeToLive, 0) << c.what;
    }
}

TEST(AwaitEchoReply, NothingArrivingIsATimeOutWithTheSentSequence)
{
    ScriptedIo io(0xFFFFFF00u, {});
    TReplyStatus s = Wait(io, 500);
    EXPECT_EQ(s.Kind, rsTimeOut);
    EXPECT_EQ(s.SeqId, Seq);
    EXPECT_EQ(s.AddressFrom, "0.0.0.0");
    EXPECT_EQ(io.timeouts, (std::vector<std::int32_t>{500}));
}

// A wait of 1000 ms whose receive came back late (a menu held open, a
// freeze): a reply first read after the deadline is no trip time, and a
// time-out far past it says the wait was held up; a slice a little late is
// still an ordinary time-out.
TEST(AwaitEchoReply, AReplyReadPastTheDeadlineIsAHeldUpTimeOut)
{
    struct Case {
        const char* what;
        std::uint32_t at;
        bool withReply;
        TReplyStatusKind kind;
        bool heldUp;
    } cases[] = {
        {"in time", 1999, true, rsEcho, false},
        {"at the deadline", 2000, true, rsEcho, false},
        {"read 10 s late", 12000, true, rsTimeOut, true},
        {"nothing, a slice late", 2100, false, rsTimeOut, false},
        {"nothing, 30 s frozen", 32000, false, rsTimeOut, true},
    };
    for (const Case& c : cases) {
        ScriptedIo io(1000, {{c.at, c.withReply ? EchoDatagram(0, Seq, 64, {127, 0, 0, 1}) : std::vector<std::uint8_t>{}}});
        const TReplyStatus s = Wait(io, 1000);
        EXPECT_EQ(s.Kind, c.kind) << c.what;
        EXPECT_EQ(io.heldUp, c.heldUp) << c.what;
        EXPECT_EQ(s.SeqId, Seq) << c.what;
        if (c.kind == rsTimeOut) {
            EXPECT_EQ(s.AddressFrom, "0.0.0.0") << c.what;
        }
    }
}

TEST(AwaitEchoReply, ClockWrapDuringTheWaitStillShortensIt)
{
    ScriptedIo io(0xFFFFFFF0u, {{0x10, EchoDatagram(0, 1, 64, {127, 0, 0, 1})}});
    Wait(io, 100);
    EXPECT_EQ(io.timeouts, (std::vector<std::int32_t>{100, 68}));
}

TEST(AwaitEchoReply, ShortReportDoesNotMatchOnBytesLeftFromALongerDatagram)
{
    // The first datagram, a foreign echo reply of 100 bytes, carries our
    // identifier and sequence at 52..55, where an error report quotes them. The short
    // report after it ends before 54: it cannot match, and the wait goes on.
    std::vector<std::uint8_t> longReply = EchoDatagram(0, 7, 64, {127, 0, 0, 1});
    longReply.resize(100, 0);
    longReply[52] = OurId & 0xFF;
    longReply[53] = OurId >> 8;
    longReply[54] = Seq & 0xFF;
    longReply[55] = Seq >> 8;
    std::vector<std::uint8_t> shortReport = ErrorReport(3, 1, Seq, 8, {203, 0, 113, 1});
    shortReport.resize(40);
    ScriptedIo io(0, {{10, longReply}, {20, shortReport}});
    TReplyStatus s = Wait(io, 300);
    EXPECT_EQ(s.Kind, rsTimeOut);
    EXPECT_EQ(io.timeouts.size(), 3u);
}

TEST(MillisecondCounter, DifferenceSurvivesAWrap)
{
    EXPECT_EQ(MillisecondsBetween(0xFFFFFFF0u, 0x10u), 0x20u);
    EXPECT_EQ(MillisecondsBetween(5, 5), 0u);
    EXPECT_EQ(MillisecondsBetween(100, 350), 250u);
}

TEST(MillisecondCounter, CounterValueToMillisecondsTruncatesAndKeepsLow32Bits)
{
    EXPECT_EQ(CounterToMilliseconds(3579545, 3579545), 1000u);
    EXPECT_EQ(CounterToMilliseconds(3579544, 3579545), 999u);
    EXPECT_EQ(CounterToMilliseconds(10'000'000ull * 86400 * 365, 10'000'000),
              static_cast<std::uint32_t>(86400ull * 365 * 1000));
    // 2^32 + 7 ms: the low 32 bits only.
    EXPECT_EQ(CounterToMilliseconds((1ull << 32) + 7, 1000), 7u);
}

// Exact to the microsecond, even after a year of a 10 MHz counter, where
// value * 10^6 alone would overflow 64 bits.
TEST(MillisecondCounter, CounterValueToMicrosecondsIsExact)
{
    EXPECT_EQ(CounterToMicroseconds(3579545, 3579545), 1000000u);
    EXPECT_EQ(CounterToMicroseconds(3579544, 3579545), 999999u);
    EXPECT_EQ(CounterToMicroseconds(766, 3579545), 213u);
    EXPECT_EQ(CounterToMicroseconds(10'000'000ull * 86400 * 365 * 100 + 2137, 10'000'000),
              1'000'000ull * 86400 * 365 * 100 + 213);
}

} // namespace
