// The request bytes and the decode rules, run under AddressSanitizer natively:
// every datagram sits in an allocation of exactly its received length, so a
// read past the count received fails the test.
#include "icmp/IcmpPacket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "icmp/IdException.h"
#include "tests/icmp/Datagrams.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Request(std::uint16_t id, std::uint16_t seq, std::uint32_t counter, std::string_view data)
{
    std::array<std::uint8_t, EchoRequestSize> r{};
    BuildEchoRequest(r, id, seq, counter, data);
    return Bytes(r.begin(), r.end());
}

TEST(EchoRequest, MatchesHandCheckedBytes)
{
    // Checksum worked by hand: LE words 0x0008 + 0x1234 + 0x0DA1 + 0x0304 +
    // 0x0102 + 16 * 0x4545 = 0x47833, folded 0x7837, complemented 0x87C8.
    Bytes expected(52, 'E');
    const std::uint8_t header[20] = {0x08, 0x00, 0xC8, 0x87, 0x34, 0x12, 0xA1, 0x0D, 0x04, 0x03,
                                     0x02, 0x01, 0, 0, 0, 0, 0, 0, 0, 0};
    std::copy(std::begin(header), std::end(header), expected.begin());
    EXPECT_EQ(Request(0x1234, 3489, 0x01020304, ""), expected);
}

TEST(EchoRequest, ChecksumVerifiesToAllOnes)
{
    for (std::uint16_t seq : {0, 1, 3489, 0xFF00, 0xFFFF}) {
        Bytes r = Request(static_cast<std::uint16_t>(seq * 7), seq, 0xFFFFFFFFu - seq, "xyz\xff");
        EXPECT_EQ(InternetChecksum(r), 0) << seq; // the sum over a checked message is 0xFFFF
    }
}

TEST(EchoRequest, ChecksumFoldsCarriesTwice)
{
    // 0xFFFF + 0xFFFF + 0x0001 = 0x1FFFF: one fold gives 0x10000, the second 0x0001.
    Bytes words = {0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00};
    EXPECT_EQ(InternetChecksum(words), 0xFFFE);
}

TEST(EchoRequest, PayloadTakesDataThenLetterE)
{
    struct Case {
        std::string data;
        std::string payload;
    } cases[] = {
        {"", std::string(32, 'E')},
        {"abc", "abc" + std::string(29, 'E')},
        {std::string(32, 'x'), std::string(32, 'x')},
        {std::string(32, 'y') + "ZZZZZZZZ", std::string(32, 'y')}, // 40 bytes cut to 32
    };
    for (const auto& c : cases) {
        Bytes r = Request(1, 2, 3, c.data);
        ASSERT_EQ(r.size(), 52u);
        EXPECT_EQ(std::string(r.begin() + 20, r.end()), c.payload) << c.data;
        EXPECT_EQ(InternetChecksum(r), 0);
    }
}

TEST(EchoRequest, IdentifierSequenceAndCounterAreLittleEndian)
{
    Bytes r = Request(0xABCD, 0x0102, 0xDEADBEEF, "");
    EXPECT_EQ(r[4], 0xCD);
    EXPECT_EQ(r[5], 0xAB);
    EXPECT_EQ(r[6], 0x02);
    EXPECT_EQ(r[7], 0x01);
    EXPECT_EQ((Bytes{r.begin() + 8, r.begin() + 12}), (Bytes{0xEF, 0xBE, 0xAD, 0xDE}));
}

// Decodes from an allocation of exactly n bytes.
bool DecodeExact(const Bytes& datagram, std::size_t n, std::uint16_t seq, TReplyStatus& status)
{
    auto exact = std::make_unique<std::uint8_t[]>(n == 0 ? 1 : n);
    std::copy_n(datagram.begin(), n, exact.get());
    return DecodeEchoReply({exact.get(), n}, OurId, seq, status);
}

constexpr std::uint16_t Seq = 3489;

TEST(DecodeEchoReply, NothingReceivedIsTimeOut)
{
    TReplyStatus s;
    s.AddressFrom = "stale";
    s.Bytes = 9;
    ASSERT_TRUE(DecodeEchoReply({}, OurId, Seq, s));
    EXPECT_EQ(s.Kind, rsTimeOut);
    EXPECT_EQ(s.Bytes, 0);
    EXPECT_EQ(s.AddressFrom, "0.0.0.0");
    EXPECT_EQ(s.IcmpType, 0);
    EXPECT_EQ(s.SeqId, Seq);
    EXPECT_EQ(s.TimeToLive, 0);
}

TEST(DecodeEchoReply, MatchingDatagramsFillTheRecord)
{
    struct Case {
        const char* what;
        Bytes datagram;
        TReplyStatusKind kind;
        std::uint8_t type;
        const char* from;
    } cases[] = {
        {"echo reply", EchoDatagram(0, Seq, 64, {127, 0, 0, 1}), rsEcho, 0, "127.0.0.1"},
        {"own echo request", EchoDatagram(8, Seq, 128, {127, 0, 0, 1}), rsEcho, 8, "127.0.0.1"},
        {"unreachable, whole request quoted", ErrorReport(3, 1, Seq, 52, {203, 0, 113, 1}), rsErrorUnreachable, 3,
         "203.0.113.1"},
        {"unreachable, header and 8 bytes quoted", ErrorReport(3, 3, Seq, 8, {203, 0, 113, 9}), rsErrorUnreachable,
         3, "203.0.113.9"},
        {"time exceeded", ErrorReport(11, 0, Seq, 52, {198, 51, 100, 1}), rsErrorTTLExceeded, 11, "198.51.100.1"},
        {"options in the header", WithHeaderOptions(EchoDatagram(0, Seq, 5, {10, 0, 0, 1}), 8), rsEcho, 0,
         "10.0.0.1"},
    };
    for (const auto& c : cases) {
        TReplyStatus s;
        ASSERT_TRUE(DecodeExact(c.datagram, c.datagram.size(), Seq, s)) << c.what;
        EXPECT_EQ(s.Kind, c.kind) << c.what;
        EXPECT_EQ(s.Bytes, static_cast<std::int32_t>(c.datagram.size())) << c.what;
        EXPECT_EQ(s.IcmpType, c.type) << c.what;
        EXPECT_EQ(s.SeqId, Seq) << c.what;
        EXPECT_EQ(s.TimeToLive, c.datagram[8]) << c.what;
        EXPECT_EQ(s.AddressFrom, c.from) << c.what;
    }
}

TEST(DecodeEchoReply, OrdinaryReplyIs72Bytes)
{
    TReplyStatus s;
    Bytes reply = EchoDatagram(0, Seq, 128, {127, 0, 0, 1});
    ASSERT_EQ(reply.size(), 72u);
    ASSERT_TRUE(DecodeExact(reply, reply.size(), Seq, s));
    EXPECT_EQ(s.Bytes, 72);
}

TEST(DecodeEchoReply, CodeAndChecksumAreNotExamined)
{
    Bytes reply = EchoDatagram(0, Seq, 64, {127, 0, 0, 1});
    reply[21] = 0x7F;              // code
    reply[22] = reply[23] = 0x55;  // checksum
    TReplyStatus s;
    EXPECT_TRUE(DecodeExact(reply, reply.size(), Seq, s));
}

TEST(DecodeEchoReply, ForeignSequenceOrIdentifierKeepsWaitingWithItsKind)
{
    struct Case {
        Bytes datagram;
        TReplyStatusKind kind;
    } cases[] = {
        {EchoDatagram(0, Seq + 1, 64, {127, 0, 0, 1}), rsEcho},
        {ErrorReport(3, 1, Seq - 1, 52, {203, 0, 113, 1}), rsErrorUnreachable},
        {ErrorReport(11, 0, 0x0DA1 ^ 0xFFFF, 8, {203, 0, 113, 1}), rsErrorTTLExceeded},
        // The sequence is read least significant byte first: 0xA10D is not 3489.
        {EchoDatagram(0, 0xA10D, 64, {127, 0, 0, 1}), rsEcho},
        // Our sequence under another program's identifier, in either byte order.
        {EchoDatagram(0, Seq, 64, {127, 0, 0, 1}, OurId ^ 0x0100), rsEcho},
        {EchoDatagram(8, Seq, 128, {127, 0, 0, 1}, 0x1122), rsEcho},
        {ErrorReport(3, 1, Seq, 52, {203, 0, 113, 1}, 0, OurId ^ 0x8000), rsErrorUnreachable},
        {ErrorReport(11, 0, Seq, 8, {203, 0, 113, 1}, 4, 0), rsErrorTTLExceeded},
    };
    for (const auto& c : cases) {
        TReplyStatus s;
        s.Kind = rsTimeOut;
        EXPECT_FALSE(DecodeExact(c.datagram, c.datagram.size(), Seq, s));
        EXPECT_EQ(s.Kind, c.kind);
        EXPECT_EQ(s.Bytes, 0);
        EXPECT_EQ(s.AddressFrom, "");
        EXPECT_EQ(s.SeqId, 0);
    }
}

TEST(DecodeEchoReply, QuotedHeaderLengthIsReadFromTheQuotedHeader)
{
    // Every pairing of the report's own header and the quoted one (20, 24 and
    // 60 bytes), each exactly long enough to show the quoted sequence, and one
    // byte short of it.
    for (std::size_t outer : {20u, 24u, 60u}) {
        for (std::size_t quoted : {20u, 24u, 60u}) {
            Bytes report = ErrorReport(3, 1, Seq, 8, {203, 0, 113, 1}, quoted - 20, OurId, outer - 20);
            const std::size_t end = outer + 8 + quoted + 8;
            ASSERT_EQ(report.size(), end);
            TReplyStatus s;
            ASSERT_TRUE(DecodeExact(report, end, Seq, s)) << outer << "/" << quoted;
            EXPECT_EQ(s.Kind, rsErrorUnreachable);
            EXPECT_EQ(s.Bytes, static_cast<std::int32_t>(end));
            EXPECT_EQ(s.AddressFrom, "203.0.113.1");
            EXPECT_EQ(s.SeqId, Seq);
            TReplyStatus cut;
            EXPECT_FALSE(DecodeExact(report, end - 1, Seq, cut)) << outer << "/" << quoted;
        }
    }
    // A quoted header length below 20 is no IPv4 header: nothing to match.
    Bytes report = ErrorReport(3, 1, Seq, 52, {203, 0, 113, 1});
    report[28] = 0x44;
    TReplyStatus s;
    EXPECT_FALSE(DecodeExact(report, report.size(), Seq, s));
}

TEST(DecodeEchoReply, ForeignTypesEndThePing)
{
    for (std::uint8_t type : {4, 5, 9, 13, 14, 42, 255}) {
        Bytes d = EchoDatagram(type, Seq, 64, {127, 0, 0, 1});
        TReplyStatus s;
        try {
            DecodeExact(d, d.size(), Seq, s);
            ADD_FAILURE() << "type " << int(type) << " was accepted";
        } catch (const EIdIcmpException& e) {
            EXPECT_STREQ(e.what(), "Non-echo type response received");
        }
    }
    // A redirect or parameter problem quoting our request, minimal or whole.
    for (std::uint8_t type : {5, 12}) {
        Bytes d = ErrorReport(type, 1, Seq, type == 5 ? 8 : 52, {203, 0, 113, 1});
        TReplyStatus s;
        try {
            DecodeExact(d, d.size(), Seq, s);
            ADD_FAILURE() << "type " << int(type) << " was accepted";
        } catch (const EIdIcmpException& e) {
            EXPECT_STREQ(e.what(), "Non-echo type response received");
        }
    }
}

TEST(DecodeEchoReply, UnrelatedMessagesOfOtherTypesKeepWaiting)
{
    // Neither carrying nor quoting our identifier and sequence: router
    // advertisements, timestamp requests, reports about other traffic.
    const Bytes cases[] = {
        EchoDatagram(9, 0, 255, {203, 0, 113, 1}, 0),
        EchoDatagram(13, Seq, 64, {203, 0, 113, 1}, OurId ^ 0x0080),
        EchoDatagram(14, Seq + 1, 64, {203, 0, 113, 1}),
        ErrorReport(5, 1, Seq, 8, {203, 0, 113, 1}, 0, OurId ^ 0x8000),
        ErrorReport(12, 0, Seq - 1, 52, {203, 0, 113, 1}),
        ErrorReport(4, 0, Seq, 8, {203, 0, 113, 1}, 0, 0x1122),
        IPv4Datagram({10, 0, 0, 0, 0, 0, 0, 0}, 64, {203, 0, 113, 1}),
    };
    for (const Bytes& d : cases) {
        TReplyStatus s;
        EXPECT_FALSE(DecodeExact(d, d.size(), Seq, s)) << int(d[20]);
        EXPECT_EQ(s.Bytes, 0);
        EXPECT_EQ(s.AddressFrom, "");
    }
}

void ExpectTooShort(const Bytes& d, std::size_t n)
{
    TReplyStatus s;
    try {
        DecodeExact(d, n, Seq, s);
        ADD_FAILURE() << n << " bytes were accepted";
    } catch (const EIdIcmpException& e) {
        EXPECT_STREQ(e.what(), "Not enough bytes received") << n;
    }
}

TEST(DecodeEchoReply, EveryTruncationOfAnEchoReply)
{
    Bytes reply = EchoDatagram(0, Seq, 64, {127, 0, 0, 1});
    for (std::size_t n = 1; n <= reply.size(); ++n) {
        if (n < 28) {
            ExpectTooShort(reply, n);
            continue;
        }
        TReplyStatus s;
        ASSERT_TRUE(DecodeExact(reply, n, Seq, s)) << n;
        EXPECT_EQ(s.Bytes, static_cast<std::int32_t>(n));
    }
}

TEST(DecodeEchoReply, EveryTruncationOfAnErrorReport)
{
    // 20 header + 8 ICMP + 20 quoted header + 52 quoted request; the quoted
    // sequence sits at 54..55.
    Bytes report = ErrorReport(3, 1, Seq, 52, {203, 0, 113, 1});
    ASSERT_EQ(report.size(), 100u);
    for (std::size_t n = 1; n <= report.size(); ++n) {
        if (n < 28) {
            ExpectTooShort(report, n);
            continue;
        }
        TReplyStatus s;
        bool done = DecodeExact(report, n, Seq, s);
        EXPECT_EQ(done, n >= 56) << n;
        EXPECT_EQ(s.Kind, rsErrorUnreachable) << n;
        EXPECT_EQ(s.Bytes, done ? static_cast<std::int32_t>(n) : 0) << n;
    }
}

TEST(DecodeEchoReply, HeaderLengthDecidesWhatIsTooShort)
{
    struct Case {
        std::uint8_t firstByte;
        std::size_t length;
        bool tooShort;
    } cases[] = {
        {0x45, 27, true}, {0x45, 28, false},
        {0x4F, 67, true}, {0x4F, 68, false}, // 60-byte header
        {0x46, 31, true}, {0x46, 32, false},
        // Header lengths below 20 are malformed: the record's TTL and source
        // would lie beyond the datagram.
        {0x40, 8, true}, {0x40, 19, true}, {0x41, 19, true},
    };
    for (const auto& c : cases) {
        Bytes d(c.length, 0);
        d[0] = c.firstByte;
        std::size_t h = 4u * (c.firstByte & 0x0F);
        if (h > 0 && h < d.size())
            d[h] = 0; // echo reply
        TReplyStatus s;
        if (c.tooShort) {
            ExpectTooShort(d, d.size());
        } else {
            EXPECT_NO_THROW(DecodeExact(d, d.size(), Seq, s)) << int(c.firstByte) << " " << c.length;
        }
    }
}

TEST(DecodeEchoReply, MalformedShortHeaderOfTwentyBytesOrMoreIsRead)
{
    // Header length 0: the type is byte 0 itself, here 0 (echo reply).
    Bytes d(20, 0);
    d[4] = OurId & 0xFF;
    d[5] = OurId >> 8;
    d[6] = 0xA1;
    d[7] = 0x0D;
    d[8] = 77;
    TReplyStatus s;
    ASSERT_TRUE(DecodeExact(d, d.size(), Seq, s));
    EXPECT_EQ(s.TimeToLive, 77);
    EXPECT_EQ(s.Bytes, 20);
}

} // namespace
