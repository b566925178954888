// The wait loop with a scripted socket and clock: what ends the wait, how the
// remaining time shrinks, and that a short datagram never shows bytes left
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

    std::vector<std::int32_t> timeouts;

private:
    std::uint32_t now_;
    std::vector<Arrival> script_;
    std::size_t next_ = 0;
};

TReplyStatus Wait(ScriptedIo& io, std::int32_t timeout)
{
    std::array<std::uint8_t, ReceiveBufferSize> buffer;
    buffer.fill(0xCC);
    return AwaitEchoReply(io, buffer, Seq, timeout);
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

TEST(AwaitEchoReply, EveryUnmatchedDatagramCostsTheWholeElapsedTime)
{
    // Elapsed 100, then 300 since the start: 1000 - 100 = 900, 900 - 300 = 600,
    // 600 - 700 < 0 ends the wait.
    ScriptedIo io(0, {{100, EchoDatagram(0, 1, 64, {127, 0, 0, 1})},
                      {300, EchoDatagram(0, 2, 64, {127, 0, 0, 1})},
                      {700, ErrorReport(3, 1, 3, 52, {203, 0, 113, 1})}});
    TReplyStatus s = Wait(io, 1000);
    EXPECT_EQ(io.timeouts, (std::vector<std::int32_t>{1000, 900, 600}));
    // Used up by unmatched datagrams: the last one's kind, nothing else filled.
    EXPECT_EQ(s.Kind, rsErrorUnreachable);
    EXPECT_EQ(s.Bytes, 0);
    EXPECT_EQ(s.AddressFrom, "");
    EXPECT_EQ(s.SeqId, 0);
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

TEST(AwaitEchoReply, ClockWrapDuringTheWaitStillShortensIt)
{
    ScriptedIo io(0xFFFFFFF0u, {{0x10, EchoDatagram(0, 1, 64, {127, 0, 0, 1})}});
    Wait(io, 100);
    EXPECT_EQ(io.timeouts, (std::vector<std::int32_t>{100, 68}));
}

TEST(AwaitEchoReply, ShortReportDoesNotMatchOnBytesLeftFromALongerDatagram)
{
    // The first datagram, a foreign echo reply of 100 bytes, carries the
    // current sequence at 54..55, where an error report quotes it. The short
    // report after it ends before 54: it cannot match, and the wait goes on.
    std::vector<std::uint8_t> longReply = EchoDatagram(0, 7, 64, {127, 0, 0, 1});
    longReply.resize(100, 0);
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

} // namespace
