// The lab's self-test: run under Wine inside the lab's client namespace, it
// shows that every behaviour of the lab reaches a Windows program there with
// the right bytes, and that the responder saw the request as it was sent.
#include "tests/lab/LabAddresses.h"
#include "tests/lab/probe/Probe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using probe::Arrival;
using probe::Exchange;

constexpr std::size_t Ip = 20;            // the lab's IP headers carry no options
constexpr std::uint8_t WineTtl = 128;

std::uint16_t NextSequence()
{
    // Distinct per exchange, so a late datagram of an earlier one is never taken for this one's.
    static std::uint16_t next = 40000;
    return next++;
}

const Arrival* FirstOfType(const Exchange& x, std::uint8_t type)
{
    for (const auto& a : x.arrivals) {
        if (!a.error && a.bytes.size() > Ip && a.Type() == type) {
            return &a;
        }
    }
    return nullptr;
}

// The request quoted by an error report: its IP header, then its ICMP bytes.
void ExpectQuotes(const Arrival& report, const Exchange& x, const char* target, std::size_t icmpBytesQuoted)
{
    std::size_t quoted = Ip + 8;
    ASSERT_EQ(report.bytes.size(), quoted + Ip + icmpBytesQuoted);
    std::string quotedTarget = std::to_string(report.bytes[quoted + 16]) + "." + std::to_string(report.bytes[quoted + 17]) +
                               "." + std::to_string(report.bytes[quoted + 18]) + "." + std::to_string(report.bytes[quoted + 19]);
    EXPECT_EQ(quotedTarget, target);
    for (std::size_t i = 0; i < icmpBytesQuoted; ++i) {
        ASSERT_EQ(report.bytes[quoted + Ip + i], x.request[i]) << "quoted ICMP byte " << i;
    }
}

struct DelayCase {
    const char* address;
    unsigned delayMs;
};

class EchoReplyDelay : public testing::TestWithParam<DelayCase> {};

TEST_P(EchoReplyDelay, ArrivesAfterTheAddressDelayWithTheRequestEchoed)
{
    const auto& c = GetParam();
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(c.address, seq, c.delayMs + 300);
    const Arrival* reply = FirstOfType(x, 0);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(reply->Source(), c.address);
    EXPECT_EQ(reply->bytes.size(), Ip + 52);
    EXPECT_EQ(reply->Le16(Ip + 6), seq);
    EXPECT_EQ(probe::InternetChecksum(reply->bytes.data() + Ip, 52), 0);
    EXPECT_GE(reply->ms, c.delayMs - 1.0);
    EXPECT_LT(reply->ms, c.delayMs + 150.0);
}

INSTANTIATE_TEST_SUITE_P(Lab, EchoReplyDelay,
                         testing::Values(DelayCase{lab::ReplyNow, 0}, DelayCase{lab::Reply20Ms, 20},
                                         DelayCase{lab::Reply200Ms, 200}, DelayCase{lab::Reply700Ms, 700},
                                         DelayCase{lab::KernelEcho, 0}));

TEST(ForeignSequence, ComesFirstThenTheRightOne)
{
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(lab::ForeignSeqFirst, seq, 300);
    ASSERT_EQ(x.arrivals.size(), 2u);
    const Arrival& foreign = x.arrivals[0];
    const Arrival& right = x.arrivals[1];
    ASSERT_EQ(foreign.bytes.size(), Ip + 52);
    ASSERT_EQ(right.bytes.size(), Ip + 52);
    EXPECT_EQ(foreign.Type(), 0);
    EXPECT_EQ(foreign.Le16(Ip + 6), seq ^ lab::ForeignSeqFlip);
    EXPECT_EQ(right.Type(), 0);
    EXPECT_EQ(right.Le16(Ip + 6), seq);
    // Timed from the send: the first arrival of a process can be late by a few ms.
    EXPECT_GE(right.ms, lab::ForeignSeqGapMs - 1.0);
}

struct ReportCase {
    const char* name;
    const char* target;
    std::uint8_t type;
    std::uint8_t code;
    const char* from;
    std::size_t icmpBytesQuoted;   // 8 from the responder, the whole request from a kernel
    bool routeMade = false;
};

// Linux answers through an unreachable or prohibit route at most once a second
// per source after a burst of five (net.ipv4.route.error_cost, machine-wide and
// untouched by icmp_ratelimit); another lab test may just have used the burst up.
constexpr DWORD RouteErrorSpacingMs = 1100;

class ErrorReport : public testing::TestWithParam<ReportCase> {};

TEST_P(ErrorReport, QuotesTheRequest)
{
    const auto& c = GetParam();
    if (c.routeMade)
        Sleep(RouteErrorSpacingMs);
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(c.target, seq, 500);
    const Arrival* report = FirstOfType(x, c.type);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Code(), c.code);
    EXPECT_EQ(report->Source(), c.from);
    EXPECT_EQ(probe::InternetChecksum(report->bytes.data() + Ip, report->bytes.size() - Ip), 0);
    ExpectQuotes(*report, x, c.target, c.icmpBytesQuoted);
    // Where the program looks for the sequence number of a report.
    EXPECT_EQ(report->Le16(Ip + 8 + Ip + 6), seq);
}

INSTANTIATE_TEST_SUITE_P(
    Lab, ErrorReport,
    testing::Values(ReportCase{"Unreachable", lab::Unreachable, 3, 1, lab::Reporter, 8},
                    ReportCase{"TimeExceeded", lab::TimeExceeded, 11, 0, lab::Reporter, 8},
                    ReportCase{"Redirect", lab::Redirect, 5, 1, lab::Reporter, 8},
                    ReportCase{"KernelUnreachable", lab::KernelUnreachable, 3, 1, lab::Router, 52, true},
                    ReportCase{"KernelProhibit", lab::KernelProhibit, 3, 13, lab::Router, 52, true},
                    ReportCase{"KernelReject", lab::KernelReject, 3, 3, lab::Router, 52}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorReport, RedirectNamesTheGateway)
{
    Exchange x = probe::Ping(lab::Redirect, NextSequence(), 300);
    const Arrival* report = FirstOfType(x, 5);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(std::to_string(report->bytes[Ip + 4]) + "." + std::to_string(report->bytes[Ip + 5]) + "." +
                  std::to_string(report->bytes[Ip + 6]) + "." + std::to_string(report->bytes[Ip + 7]),
              lab::RouterHostsSide);
}

TEST(ErrorReport, OptionsInTheReportsOwnHeaderArriveIntact)
{
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(lab::UnreachableOptions, seq, 300);
    const Arrival* report = FirstOfType(x, 3);
    ASSERT_NE(report, nullptr);
    const std::size_t h = Ip + lab::UnreachableOptionBytes;
    ASSERT_EQ(report->HeaderBytes(), h);
    ASSERT_EQ(report->bytes.size(), h + 8 + Ip + 8);
    EXPECT_EQ(report->Source(), lab::Reporter);
    EXPECT_EQ(report->Code(), 1);
    EXPECT_EQ(probe::InternetChecksum(report->bytes.data() + h, report->bytes.size() - h), 0);
    EXPECT_EQ(report->bytes[h + 8], 0x45) << "the quoted request's own header has no options";
    EXPECT_EQ(report->Le16(h + 8 + Ip + 4), x.request[4] | x.request[5] << 8);
    EXPECT_EQ(report->Le16(h + 8 + Ip + 6), seq);
}

TEST(ForeignFlood, EveryReplyAnswersSomeOtherRequest)
{
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(lab::ForeignFlood, seq, lab::FloodCount * lab::FloodGapMs + 300);
    const std::uint16_t id = static_cast<std::uint16_t>(x.request[4] | x.request[5] << 8);
    ASSERT_EQ(x.arrivals.size(), lab::FloodCount);
    for (std::size_t i = 0; i < x.arrivals.size(); ++i) {
        const Arrival& a = x.arrivals[i];
        ASSERT_EQ(a.bytes.size(), Ip + 52);
        EXPECT_EQ(a.Type(), 0);
        EXPECT_EQ(a.Source(), lab::ForeignFlood);
        const bool foreignIdentifier = i % 2 == 0;
        EXPECT_EQ(a.Le16(Ip + 4), foreignIdentifier ? id ^ 0x8000 : id) << i;
        EXPECT_EQ(a.Le16(Ip + 6), foreignIdentifier ? seq : seq ^ 0x8000) << i;
    }
    EXPECT_GE(x.arrivals.back().ms, (lab::FloodCount - 1) * lab::FloodGapMs);
}

TEST(Unrelated, OtherTypesArriveBeforeTheRightReply)
{
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(lab::Unrelated, seq, (lab::UnrelatedCount + 1) * lab::UnrelatedGapMs + 300);
    const std::uint8_t types[] = {4, 5, 9, 12, 13, 0};
    ASSERT_EQ(x.arrivals.size(), std::size(types));
    for (std::size_t i = 0; i < x.arrivals.size(); ++i) {
        ASSERT_EQ(x.arrivals[i].error, 0) << i;
        EXPECT_EQ(x.arrivals[i].Type(), types[i]) << i;
    }
    EXPECT_EQ(x.arrivals.back().Source(), lab::Unrelated);
    EXPECT_EQ(x.arrivals.back().Le16(Ip + 6), seq);
}

TEST(Lossy, AnswersOnlySequenceNumbersOutsideTheLostOnes)
{
    // Apart from NextSequence's; 48000 % 8 == 0: the first LossyCount of each period go unanswered.
    for (std::uint16_t seq = 48000; seq < 48000 + lab::LossyPeriod; ++seq) {
        Exchange x = probe::Ping(lab::Lossy, seq, 300);
        EXPECT_EQ(FirstOfType(x, 0) != nullptr, seq % lab::LossyPeriod >= lab::LossyCount) << seq;
    }
}

TEST(Stepping, AnswersLateForTheLastOfEachPeriod)
{
    // 48000 % 40 == 0: answered after SteppingFastMs; 48030, after SteppingSlowMs.
    EXPECT_NE(FirstOfType(probe::Ping(lab::Stepping, 48000, lab::SteppingSlowMs / 2), 0), nullptr);
    EXPECT_EQ(FirstOfType(probe::Ping(lab::Stepping, 48030, lab::SteppingSlowMs / 2), 0), nullptr);
    EXPECT_NE(FirstOfType(probe::Ping(lab::Stepping, 48031, lab::SteppingSlowMs + 400), 0), nullptr);
}

TEST(ErrorReport, RoutingLoopEndsInTheKernelsTimeExceeded)
{
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(lab::KernelLoop, seq, 500);
    const Arrival* report = FirstOfType(x, 11);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Code(), 0);
    // One of the two routers of the loop, whichever took the TTL to zero.
    EXPECT_TRUE(report->Source() == lab::RouterHostsSide || report->Source() == "203.0.113.3") << report->Source();
    ExpectQuotes(*report, x, lab::KernelLoop, 52);
    EXPECT_EQ(report->Le16(Ip + 8 + Ip + 6), seq);
}

TEST(ErrorReport, NobodyOnLinkGivesUnreachableAfterTheNeighbourSearch)
{
    Exchange x = probe::Ping(lab::KernelNoNeighbour, NextSequence(), 4000);
    const Arrival* report = FirstOfType(x, 3);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Code(), 1);
    EXPECT_EQ(report->Source(), lab::Router);
    EXPECT_GT(report->ms, 1000.0);
}

TEST(BigDatagram, FailsARecvOf1024BytesWithMessageTooLong)
{
    Exchange x = probe::Ping(lab::BigReply, NextSequence(), 300);
    ASSERT_FALSE(x.arrivals.empty());
    EXPECT_EQ(x.arrivals[0].error, 10040);
}

TEST(BigDatagram, ArrivesWholeInALargerBuffer)
{
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(lab::BigReply, seq, 300, 4096);
    const Arrival* reply = FirstOfType(x, 0);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(reply->bytes.size(), lab::BigReplyBytes);
    EXPECT_EQ(reply->Le16(Ip + 6), seq);
}

class Silence : public testing::TestWithParam<const char*> {};

TEST_P(Silence, NothingArrives)
{
    Exchange x = probe::Ping(GetParam(), NextSequence(), 400);
    EXPECT_TRUE(x.arrivals.empty());
}

INSTANTIATE_TEST_SUITE_P(Lab, Silence, testing::Values(lab::Silent, lab::KernelBlackhole));

TEST(NameServer, AnswersEveryLabName)
{
    for (const auto& n : lab::Names) {
        int error = -1;
        EXPECT_EQ(probe::Resolve(n.name, error), n.address) << n.name << " error " << error;
    }
}

TEST(NameServer, SaysNoSuchNameToAnyOtherName)
{
    for (const char* name : {lab::UnknownName, "www.example.com", "example.invalid"}) {
        int error = 0;
        EXPECT_EQ(probe::Resolve(name, error), "") << name;
        EXPECT_EQ(error, 11001) << name;
    }
}

// Lines of the responder's log that record a request to `target`.
std::vector<std::string> LoggedRequests(const char* target)
{
    const char* path = std::getenv(lab::ResponderLogEnv);
    std::vector<std::string> lines;
    if (!path) {
        ADD_FAILURE() << lab::ResponderLogEnv << " is not set";
        return lines;
    }
    std::ifstream log(std::string("Z:") + path);
    std::string prefix = std::string("dst=") + target + " ";
    for (std::string line; std::getline(log, line);) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::uint8_t> FromHex(const std::string& hex)
{
    std::vector<std::uint8_t> b;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        b.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return b;
}

TEST(ResponderLog, ShowsTheRequestAsSent)
{
    std::uint16_t seq = NextSequence();
    Exchange x = probe::Ping(lab::Silent, seq, 100);
    auto lines = LoggedRequests(lab::Silent);
    ASSERT_FALSE(lines.empty());
    const std::string& last = lines.back();
    std::string expectTtl = " ttl=" + std::to_string(WineTtl - 1) + " ";   // one router on the way
    EXPECT_NE(last.find(std::string(" src=") + lab::Client + expectTtl), std::string::npos) << last;
    auto icmp = FromHex(last.substr(last.find("icmp=") + 5));
    ASSERT_EQ(icmp.size(), 52u);
    EXPECT_EQ(icmp, x.request);
    EXPECT_EQ(icmp[0], 8);
    EXPECT_EQ(static_cast<DWORD>(icmp[4] | icmp[5] << 8), GetCurrentProcessId() & 0xFFFF);
    EXPECT_EQ(icmp[6] | icmp[7] << 8, seq);
    EXPECT_EQ(probe::InternetChecksum(icmp.data(), icmp.size()), 0);
}

}  // namespace
