// The lab responder's answers as bytes: a wrong byte here would make the lab
// test the program against packets no network sends.
#include "tools/lab/ResponderPackets.h"

#include <gtest/gtest.h>

namespace {

using lab::Behaviour;
using lab::BehaviourKind;
using lab::Bytes;

const lab::Address Client{198, 51, 100, 2};
const lab::Address Target{203, 0, 113, 15};
const lab::Sources Sources{{203, 0, 113, 254}, {203, 0, 113, 1}};

// A 72-byte datagram as the router forwards the program's request: TTL 127,
// identifier 0x1234 and sequence 3489 (0x0DA1) little-endian, 32 times "E".
Bytes Request(std::size_t ipHeaderBytes = 20)
{
    Bytes d(ipHeaderBytes, 0);
    d[0] = static_cast<std::uint8_t>(0x40 | ipHeaderBytes / 4);
    d[8] = 127;
    d[9] = 1;
    for (int i = 0; i < 4; ++i) {
        d[12 + i] = Client[i];
        d[16 + i] = Target[i];
    }
    Bytes icmp(52, 0);
    icmp[0] = 8;
    icmp[4] = 0x34;
    icmp[5] = 0x12;
    icmp[6] = 0xA1;
    icmp[7] = 0x0D;
    for (std::size_t i = 20; i < 52; ++i) {
        icmp[i] = 'E';
    }
    std::uint16_t sum = lab::InternetChecksum(icmp.data(), icmp.size());
    icmp[2] = static_cast<std::uint8_t>(sum);
    icmp[3] = static_cast<std::uint8_t>(sum >> 8);
    d.insert(d.end(), icmp.begin(), icmp.end());
    return d;
}

lab::EchoRequest Parsed(const Bytes& d)
{
    auto r = lab::ReadEchoRequest(d.data(), d.size());
    EXPECT_TRUE(r.has_value());
    return r.value_or(lab::EchoRequest{});
}

lab::Address SourceOf(const Bytes& d)
{
    return {d[12], d[13], d[14], d[15]};
}

lab::Address DestinationOf(const Bytes& d)
{
    return {d[16], d[17], d[18], d[19]};
}

bool ChecksumsHold(const Bytes& d)
{
    return lab::InternetChecksum(d.data(), 20) == 0 && lab::InternetChecksum(d.data() + 20, d.size() - 20) == 0;
}

TEST(ResponderChecksum, MatchesTheKnownExample)
{
    // RFC 1071's example words 0001 f203 f4f5 f6f7 sum to ddf2; stored complemented.
    const std::uint8_t words[] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
    std::uint16_t sum = lab::InternetChecksum(words, sizeof words);
    EXPECT_EQ(sum & 0xFF, 0x22);   // ~0xddf2 = 0x220d, low byte first as stored
    EXPECT_EQ(sum >> 8, 0x0d);
    const std::uint8_t odd[] = {0x01};
    EXPECT_EQ(lab::InternetChecksum(odd, 1), static_cast<std::uint16_t>(~0x0001));
}

TEST(ResponderBehaviourNames, ParseAsLabShWritesThem)
{
    struct Case {
        const char* text;
        bool valid;
        BehaviourKind kind;
        unsigned delayMs;
        unsigned bytes;
    };
    const Case cases[] = {
        {"now", true, BehaviourKind::Reply, 0, 0},
        {"delay:200", true, BehaviourKind::Reply, 200, 0},
        {"foreign:20", true, BehaviourKind::ForeignFirst, 20, 0},
        {"unreachable", true, BehaviourKind::Unreachable, 0, 0},
        {"ttl", true, BehaviourKind::TimeExceeded, 0, 0},
        {"redirect", true, BehaviourKind::Redirect, 0, 0},
        {"big:2000", true, BehaviourKind::BigReply, 0, 2000},
        {"silent", true, BehaviourKind::Silent, 0, 0},
        {"unreachable-options:40", true, BehaviourKind::UnreachableWithOptions, 0, 40},
        {"flood:50:18", true, BehaviourKind::ForeignFlood, 50, 0},
        {"unrelated:10", true, BehaviourKind::UnrelatedFirst, 10, 0},
        {"unrelated", false, {}, 0, 0},
        {"lose:8:3", true, BehaviourKind::Lossy, 0, 0},
        {"lose:8:9", false, {}, 0, 0},
        {"step:40:10", true, BehaviourKind::Stepping, 0, 0},
        {"step:40", false, {}, 0, 0},
        {"lose:0:0", false, {}, 0, 0},
        {"unreachable-options:6", false, {}, 0, 0},
        {"unreachable-options:44", false, {}, 0, 0},
        {"flood:50", false, {}, 0, 0},
        {"flood:50:0", false, {}, 0, 0},
        {"delay:5:5", false, {}, 0, 0},
        {"delay", false, {}, 0, 0},
        {"delay:", false, {}, 0, 0},
        {"delay:2x", false, {}, 0, 0},
        {"now:5", false, {}, 0, 0},
        {"big:40", false, {}, 0, 0},
        {"big:70000", false, {}, 0, 0},
        {"Now", false, {}, 0, 0},
        {"", false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        auto b = lab::ParseBehaviour(c.text);
        ASSERT_EQ(b.has_value(), c.valid) << c.text;
        if (b) {
            EXPECT_EQ(b->kind, c.kind) << c.text;
            EXPECT_EQ(b->delayMs, c.delayMs) << c.text;
            EXPECT_EQ(b->bytes, c.bytes) << c.text;
        }
    }
}

TEST(ResponderAddresses, ParseOnlyDottedQuads)
{
    EXPECT_EQ(lab::ParseAddress("203.0.113.254"), (lab::Address{203, 0, 113, 254}));
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.4 ", "0001.2.3.4", "a.b.c.d"}) {
        EXPECT_FALSE(lab::ParseAddress(bad).has_value()) << bad;
    }
    EXPECT_EQ(lab::FormatAddress({198, 51, 100, 2}), "198.51.100.2");
}

TEST(ResponderRequests, TakesOnlyWholeEchoRequests)
{
    Bytes d = Request();
    auto r = Parsed(d);
    EXPECT_EQ(r.source, Client);
    EXPECT_EQ(r.destination, Target);
    EXPECT_EQ(r.ttl, 127);
    EXPECT_EQ(r.headerBytes, 20u);
    // Every cut that loses part of the IP header or the ICMP header.
    for (std::size_t n = 0; n < 28; ++n) {
        EXPECT_FALSE(lab::ReadEchoRequest(d.data(), n).has_value()) << n;
    }
    Bytes reply = d;
    reply[20] = 0;
    EXPECT_FALSE(lab::ReadEchoRequest(reply.data(), reply.size()).has_value());
    Bytes udp = d;
    udp[9] = 17;
    EXPECT_FALSE(lab::ReadEchoRequest(udp.data(), udp.size()).has_value());
    Bytes shortHeader = d;
    shortHeader[0] = 0x44;
    EXPECT_FALSE(lab::ReadEchoRequest(shortHeader.data(), shortHeader.size()).has_value());
    Bytes v6 = d;
    v6[0] = 0x65;
    EXPECT_FALSE(lab::ReadEchoRequest(v6.data(), v6.size()).has_value());
}

TEST(ResponderPlans, EchoRepliesReturnTheRequestFromTheTarget)
{
    auto r = Parsed(Request());
    auto plan = lab::Plan({BehaviourKind::Reply, 200, 0}, r, Sources);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].delayMs, 200u);
    const Bytes& d = plan[0].datagram;
    ASSERT_EQ(d.size(), 72u);
    EXPECT_TRUE(ChecksumsHold(d));
    EXPECT_EQ(SourceOf(d), Target);
    EXPECT_EQ(DestinationOf(d), Client);
    EXPECT_EQ(d[0], 0x45);
    EXPECT_EQ(d[2] << 8 | d[3], 72);
    EXPECT_EQ(d[9], 1);
    EXPECT_EQ(d[20], 0);
    EXPECT_TRUE(std::equal(d.begin() + 24, d.end(), r.datagram.begin() + 24));
}

TEST(ResponderPlans, ForeignSequenceComesFirstWithBit15Flipped)
{
    auto r = Parsed(Request());
    auto plan = lab::Plan({BehaviourKind::ForeignFirst, 20, 0}, r, Sources);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].delayMs, 0u);
    EXPECT_EQ(plan[1].delayMs, 20u);
    for (const auto& p : plan) {
        EXPECT_TRUE(ChecksumsHold(p.datagram));
    }
    EXPECT_EQ(plan[0].datagram[26], 0xA1);
    EXPECT_EQ(plan[0].datagram[27], 0x0D ^ 0x80);
    EXPECT_EQ(plan[1].datagram[26], 0xA1);
    EXPECT_EQ(plan[1].datagram[27], 0x0D);
}

TEST(ResponderPlans, ErrorReportsQuoteTheHeaderAndEightBytes)
{
    struct Case {
        BehaviourKind kind;
        std::uint8_t type;
        std::uint8_t code;
        lab::Address word;   // bytes 4-7 of the report
    };
    const Case cases[] = {
        {BehaviourKind::Unreachable, 3, 1, {0, 0, 0, 0}},
        {BehaviourKind::TimeExceeded, 11, 0, {0, 0, 0, 0}},
        {BehaviourKind::Redirect, 5, 1, Sources.gateway},
    };
    for (std::size_t header : {20u, 24u}) {
        Bytes request = Request(header);
        auto r = Parsed(request);
        for (const auto& c : cases) {
            auto plan = lab::Plan({c.kind, 0, 0}, r, Sources);
            ASSERT_EQ(plan.size(), 1u);
            const Bytes& d = plan[0].datagram;
            ASSERT_EQ(d.size(), 20 + 8 + header + 8);
            EXPECT_TRUE(ChecksumsHold(d));
            EXPECT_EQ(SourceOf(d), Sources.reporter);
            EXPECT_EQ(DestinationOf(d), Client);
            EXPECT_EQ(d[20], c.type);
            EXPECT_EQ(d[21], c.code);
            EXPECT_EQ((lab::Address{d[24], d[25], d[26], d[27]}), c.word);
            EXPECT_TRUE(std::equal(d.begin() + 28, d.end(), request.begin())) << int(c.type);
        }
    }
}

TEST(ResponderPlans, BigReplyFillsTheWholeDatagram)
{
    auto r = Parsed(Request());
    auto plan = lab::Plan({BehaviourKind::BigReply, 0, 2000}, r, Sources);
    ASSERT_EQ(plan.size(), 1u);
    const Bytes& d = plan[0].datagram;
    ASSERT_EQ(d.size(), 2000u);
    EXPECT_EQ(d[2] << 8 | d[3], 2000);
    EXPECT_TRUE(ChecksumsHold(d));
    EXPECT_EQ(d[20], 0);
    EXPECT_EQ(d[26], 0xA1);
    EXPECT_EQ(d[27], 0x0D);
}

TEST(ResponderPlans, UnreachableWithOptionsCarriesThemInItsOwnHeader)
{
    Bytes request = Request();
    for (unsigned options : {4u, 40u}) {
        auto plan = lab::Plan({BehaviourKind::UnreachableWithOptions, 0, options}, Parsed(request), Sources);
        ASSERT_EQ(plan.size(), 1u);
        const Bytes& d = plan[0].datagram;
        const std::size_t h = 20 + options;
        ASSERT_EQ(d.size(), h + 8 + 28);
        EXPECT_EQ(d[0], 0x40 | h / 4);
        EXPECT_EQ(std::size_t(d[2] << 8 | d[3]), d.size());
        EXPECT_EQ(lab::InternetChecksum(d.data(), h), 0);
        EXPECT_EQ(lab::InternetChecksum(d.data() + h, d.size() - h), 0);
        EXPECT_EQ(SourceOf(d), Sources.reporter);
        EXPECT_EQ(d[h], 3);
        EXPECT_TRUE(std::equal(d.begin() + h + 8, d.end(), request.begin()));
    }
}

TEST(ResponderPlans, FloodNeverAnswersTheRequest)
{
    auto plan = lab::Plan({BehaviourKind::ForeignFlood, 50, 0, 4}, Parsed(Request()), Sources);
    ASSERT_EQ(plan.size(), 4u);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const Bytes& d = plan[i].datagram;
        EXPECT_EQ(plan[i].delayMs, 50 * (i + 1));
        EXPECT_TRUE(ChecksumsHold(d));
        EXPECT_EQ(SourceOf(d), Target);
        EXPECT_EQ(d[20], 0);
        // Our sequence under another identifier, then another sequence under ours.
        const bool foreignIdentifier = i % 2 == 0;
        EXPECT_EQ(d[25], foreignIdentifier ? 0x12 ^ 0x80 : 0x12) << i;
        EXPECT_EQ(d[27], foreignIdentifier ? 0x0D : 0x0D ^ 0x80) << i;
    }
}

TEST(ResponderPlans, UnrelatedMessagesComeFirstThenTheRightReply)
{
    auto plan = lab::Plan({BehaviourKind::UnrelatedFirst, 10, 0}, Parsed(Request()), Sources);
    const std::uint8_t types[] = {4, 5, 9, 12, 13, 0};
    ASSERT_EQ(plan.size(), std::size(types));
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const Bytes& d = plan[i].datagram;
        EXPECT_EQ(plan[i].delayMs, 10 * i);
        EXPECT_TRUE(ChecksumsHold(d)) << i;
        EXPECT_EQ(d[20], types[i]) << i;
        // What they carry or quote names another identifier.
        if (types[i] == 13) {
            EXPECT_EQ(d[25], 0x12 ^ 0x80);
        } else if (types[i] != 9 && types[i] != 0) {
            EXPECT_EQ(d[20 + 8 + 20 + 5], 0x12 ^ 0x80) << i;
        }
    }
    EXPECT_EQ(SourceOf(plan.back().datagram), Target);
    EXPECT_EQ(plan.back().datagram[25], 0x12);
}

TEST(ResponderPlans, LossyAndSteppingAnswerBySequenceNumber)
{
    const lab::Behaviour lossy = *lab::ParseBehaviour("lose:8:3");
    const lab::Behaviour stepping = *lab::ParseBehaviour("step:40:10");
    for (unsigned sequence = 3488; sequence < 3528; ++sequence) {
        Bytes request = Request();
        request[26] = static_cast<std::uint8_t>(sequence);
        request[27] = static_cast<std::uint8_t>(sequence >> 8);
        auto plan = lab::Plan(lossy, Parsed(request), Sources);
        ASSERT_EQ(plan.size(), sequence % 8 < 3 ? 0u : 1u) << sequence;
        if (!plan.empty()) {
            EXPECT_EQ(plan[0].datagram[20], 0);
            EXPECT_EQ(plan[0].datagram[26], request[26]);
        }
        plan = lab::Plan(stepping, Parsed(request), Sources);
        ASSERT_EQ(plan.size(), 1u);
        EXPECT_EQ(plan[0].delayMs, sequence % 40 >= 30 ? lab::SteppingSlowMs : lab::SteppingFastMs) << sequence;
    }
}

TEST(ResponderPlans, SilenceSendsNothing)
{
    EXPECT_TRUE(lab::Plan({BehaviourKind::Silent, 0, 0}, Parsed(Request()), Sources).empty());
}

}  // namespace
