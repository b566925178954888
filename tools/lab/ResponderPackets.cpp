#include "tools/lab/ResponderPackets.h"

#include <algorithm>
#include <charconv>

namespace lab {

namespace {

constexpr std::uint8_t IcmpEchoReply = 0;
constexpr std::uint8_t IcmpUnreachable = 3;
constexpr std::uint8_t IcmpSourceQuench = 4;
constexpr std::uint8_t IcmpRedirect = 5;
constexpr std::uint8_t IcmpRouterAdvertisement = 9;
constexpr std::uint8_t IcmpParameterProblem = 12;
constexpr std::uint8_t IcmpTimestampRequest = 13;
constexpr std::uint8_t IcmpEchoRequest = 8;
constexpr std::uint8_t IcmpTimeExceeded = 11;
constexpr std::uint8_t ProtocolIcmp = 1;
constexpr std::size_t IpHeaderBytes = 20;
constexpr std::size_t IcmpHeaderBytes = 8;
constexpr std::uint8_t ReplyTtl = 64;
// Bit 15 of the little-endian identifier and sequence number lies in bytes 5 and 7.
constexpr std::size_t IdentifierHighByte = 5;
constexpr std::size_t SequenceHighByte = 7;
constexpr std::uint8_t ForeignFlip = 0x80;
constexpr std::uint8_t OptionNop = 1;
constexpr unsigned MaxOptionBytes = 40;
constexpr unsigned MaxFloodCount = 1000;

std::optional<unsigned> ParseNumber(std::string_view text)
{
    unsigned value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

void Put16(Bytes& b, std::size_t at, std::uint16_t networkOrderValue)
{
    b[at] = static_cast<std::uint8_t>(networkOrderValue >> 8);
    b[at + 1] = static_cast<std::uint8_t>(networkOrderValue);
}

void StoreChecksum(Bytes& b, std::size_t from, std::size_t checksumAt)
{
    b[checksumAt] = 0;
    b[checksumAt + 1] = 0;
    std::uint16_t sum = InternetChecksum(b.data() + from, b.size() - from);
    // The sum was formed over the bytes as they lie: store it the same way.
    b[checksumAt] = static_cast<std::uint8_t>(sum);
    b[checksumAt + 1] = static_cast<std::uint8_t>(sum >> 8);
}

// An IPv4 header before `icmp`, with `optionBytes` of no-operation options;
// the sender's kernel checks nothing.
Bytes Datagram(const Address& source, const Address& destination, const Bytes& icmp, std::size_t optionBytes = 0)
{
    const std::size_t header = IpHeaderBytes + optionBytes;
    Bytes d(header, OptionNop);
    std::fill(d.begin(), d.begin() + IpHeaderBytes, std::uint8_t{0});
    d[0] = static_cast<std::uint8_t>(0x40 | header / 4);
    Put16(d, 2, static_cast<std::uint16_t>(header + icmp.size()));
    d[8] = ReplyTtl;
    d[9] = ProtocolIcmp;
    for (int i = 0; i < 4; ++i) {
        d[12 + i] = source[i];
        d[16 + i] = destination[i];
    }
    StoreChecksum(d, 0, 10);
    d.insert(d.end(), icmp.begin(), icmp.end());
    return d;
}

// `foreignByte`: the identifier's or sequence's high byte, flipped so that the
// reply answers some other request; 0 for the right reply.
Bytes EchoReplyMessage(const EchoRequest& r, std::size_t icmpBytes, std::size_t foreignByte = 0)
{
    Bytes icmp(r.datagram.begin() + static_cast<std::ptrdiff_t>(r.headerBytes), r.datagram.end());
    icmp[0] = IcmpEchoReply;
    if (foreignByte != 0) {
        icmp[foreignByte] ^= ForeignFlip;
    }
    if (icmpBytes > icmp.size()) {
        icmp.resize(icmpBytes, 'E');
    }
    StoreChecksum(icmp, 0, 2);
    return icmp;
}

Bytes ErrorMessage(std::uint8_t type, std::uint8_t code, const Address* gateway, const EchoRequest& r)
{
    Bytes icmp(IcmpHeaderBytes, 0);
    icmp[0] = type;
    icmp[1] = code;
    if (gateway) {
        for (int i = 0; i < 4; ++i) {
            icmp[4 + i] = (*gateway)[i];
        }
    }
    std::size_t quoted = r.headerBytes + IcmpHeaderBytes;
    icmp.insert(icmp.end(), r.datagram.begin(), r.datagram.begin() + static_cast<std::ptrdiff_t>(quoted));
    StoreChecksum(icmp, 0, 2);
    return icmp;
}

// The sequence number as the pinging program stores it: little-endian.
unsigned Sequence(const EchoRequest& r)
{
    const std::uint8_t* icmp = r.datagram.data() + r.headerBytes;
    return icmp[6] | icmp[7] << 8;
}

}  // namespace

std::optional<Behaviour> ParseBehaviour(std::string_view text)
{
    auto colon = text.find(':');
    std::string_view name = text.substr(0, colon);
    std::optional<unsigned> arg, second;
    if (colon != std::string_view::npos) {
        std::string_view rest = text.substr(colon + 1);
        auto next = rest.find(':');
        arg = ParseNumber(rest.substr(0, next));
        if (next != std::string_view::npos) {
            second = ParseNumber(rest.substr(next + 1));
            if (!second) {
                return std::nullopt;
            }
        }
        if (!arg) {
            return std::nullopt;
        }
    }
    if (second && name != "flood" && name != "lose" && name != "step") {
        return std::nullopt;
    }
    auto plain = [&](BehaviourKind k) -> std::optional<Behaviour> {
        if (arg) {
            return std::nullopt;
        }
        return Behaviour{k, 0, 0};
    };
    // Options come in words of 4 bytes, at most 40 of them.
    if (name == "unreachable-options" && arg && *arg > 0 && *arg <= MaxOptionBytes && *arg % 4 == 0) {
        return Behaviour{BehaviourKind::UnreachableWithOptions, 0, *arg};
    }
    if (name == "flood" && arg && *arg > 0 && second && *second > 0 && *second <= MaxFloodCount) {
        return Behaviour{BehaviourKind::ForeignFlood, *arg, 0, *second};
    }
    if (name == "lose" && arg && *arg > 0 && second && *second <= *arg) {
        return Behaviour{BehaviourKind::Lossy, 0, 0, *second, *arg};
    }
    if (name == "step" && arg && *arg > 0 && second && *second <= *arg) {
        return Behaviour{BehaviourKind::Stepping, 0, 0, *second, *arg};
    }
    if (name == "now") {
        return plain(BehaviourKind::Reply);
    }
    if (name == "delay" && arg) {
        return Behaviour{BehaviourKind::Reply, *arg, 0};
    }
    if (name == "unrelated" && arg) {
        return Behaviour{BehaviourKind::UnrelatedFirst, *arg, 0};
    }
    if (name == "foreign" && arg) {
        return Behaviour{BehaviourKind::ForeignFirst, *arg, 0};
    }
    if (name == "unreachable") {
        return plain(BehaviourKind::Unreachable);
    }
    if (name == "ttl") {
        return plain(BehaviourKind::TimeExceeded);
    }
    if (name == "redirect") {
        return plain(BehaviourKind::Redirect);
    }
    // A datagram must at least hold the echoed request; IPv4 caps it at 65535.
    if (name == "big" && arg && *arg >= IpHeaderBytes + 64 && *arg <= 65535) {
        return Behaviour{BehaviourKind::BigReply, 0, *arg};
    }
    if (name == "silent") {
        return plain(BehaviourKind::Silent);
    }
    return std::nullopt;
}

std::optional<Address> ParseAddress(std::string_view text)
{
    Address a{};
    for (int i = 0; i < 4; ++i) {
        auto dot = text.find('.');
        if ((i < 3) == (dot == std::string_view::npos)) {
            return std::nullopt;
        }
        auto part = ParseNumber(text.substr(0, dot));
        if (!part || *part > 255 || text.substr(0, dot).size() > 3) {
            return std::nullopt;
        }
        a[i] = static_cast<std::uint8_t>(*part);
        text = i < 3 ? text.substr(dot + 1) : std::string_view();
    }
    return a;
}

std::string FormatAddress(const Address& a)
{
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < size; i += 2) {
        sum += static_cast<std::uint32_t>(data[i] | (data[i + 1] << 8));
    }
    if (i < size) {
        sum += data[i];
    }
    while (sum >> 16) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(~sum);
}

std::optional<EchoRequest> ReadEchoRequest(const std::uint8_t* data, std::size_t size)
{
    if (size < IpHeaderBytes || (data[0] >> 4) != 4) {
        return std::nullopt;
    }
    std::size_t h = 4u * (data[0] & 0x0F);
    if (h < IpHeaderBytes || size < h + IcmpHeaderBytes || data[9] != ProtocolIcmp ||
        data[h] != IcmpEchoRequest) {
        return std::nullopt;
    }
    EchoRequest r;
    for (int i = 0; i < 4; ++i) {
        r.source[i] = data[12 + i];
        r.destination[i] = data[16 + i];
    }
    r.ttl = data[8];
    r.headerBytes = h;
    r.datagram.assign(data, data + size);
    return r;
}

// Foreign echo replies, alternately another program's (our sequence under a
// foreign identifier) and late ones (a foreign sequence under ours).
std::vector<PlannedSend> Flood(const Behaviour& b, const EchoRequest& r)
{
    std::vector<PlannedSend> sends;
    std::size_t icmpBytes = r.datagram.size() - r.headerBytes;
    for (unsigned i = 1; i <= b.count; ++i) {
        std::size_t flipped = i % 2 ? IdentifierHighByte : SequenceHighByte;
        sends.push_back({i * b.delayMs, Datagram(r.destination, r.source, EchoReplyMessage(r, icmpBytes, flipped))});
    }
    return sends;
}

// Messages of other types that a machine may receive at any time, none of
// them about this request: a source quench, redirect and parameter problem
// about another program's request (its identifier's bit 15 flipped), a
// router advertisement, and a timestamp request under a foreign identifier;
// then the right reply.
std::vector<PlannedSend> Unrelated(const Behaviour& b, const EchoRequest& r, const Sources& sources)
{
    EchoRequest other = r;
    other.datagram[r.headerBytes + IdentifierHighByte] ^= ForeignFlip;
    Bytes advertisement = {IcmpRouterAdvertisement, 0, 0, 0, 1, 2, 0, 30, 203, 0, 113, 1, 0, 0, 0, 0};
    StoreChecksum(advertisement, 0, 2);
    Bytes timestamp = EchoReplyMessage(other, IcmpHeaderBytes + 12);
    timestamp.resize(IcmpHeaderBytes + 12);
    timestamp[0] = IcmpTimestampRequest;
    StoreChecksum(timestamp, 0, 2);
    const Bytes messages[] = {ErrorMessage(IcmpSourceQuench, 0, nullptr, other),
                              ErrorMessage(IcmpRedirect, 1, &sources.gateway, other), advertisement,
                              ErrorMessage(IcmpParameterProblem, 0, nullptr, other), timestamp};
    std::vector<PlannedSend> sends;
    unsigned at = 0;
    for (const Bytes& m : messages) {
        sends.push_back({at, Datagram(sources.reporter, r.source, m)});
        at += b.delayMs;
    }
    sends.push_back({at, Datagram(r.destination, r.source, EchoReplyMessage(r, r.datagram.size() - r.headerBytes))});
    return sends;
}

std::vector<PlannedSend> Plan(const Behaviour& b, const EchoRequest& r, const Sources& sources)
{
    auto fromTarget = [&](const Bytes& icmp) { return Datagram(r.destination, r.source, icmp); };
    auto fromReporter = [&](const Bytes& icmp) { return Datagram(sources.reporter, r.source, icmp); };
    std::size_t icmpBytes = r.datagram.size() - r.headerBytes;
    switch (b.kind) {
    case BehaviourKind::Reply:
        return {{b.delayMs, fromTarget(EchoReplyMessage(r, icmpBytes))}};
    case BehaviourKind::ForeignFirst:
        return {{0, fromTarget(EchoReplyMessage(r, icmpBytes, SequenceHighByte))},
                {b.delayMs, fromTarget(EchoReplyMessage(r, icmpBytes))}};
    case BehaviourKind::UnreachableWithOptions:
        return {{0, Datagram(sources.reporter, r.source, ErrorMessage(IcmpUnreachable, 1, nullptr, r), b.bytes)}};
    case BehaviourKind::ForeignFlood:
        return Flood(b, r);
    case BehaviourKind::UnrelatedFirst:
        return Unrelated(b, r, sources);
    case BehaviourKind::Unreachable:
        return {{0, fromReporter(ErrorMessage(IcmpUnreachable, 1, nullptr, r))}};
    case BehaviourKind::TimeExceeded:
        return {{0, fromReporter(ErrorMessage(IcmpTimeExceeded, 0, nullptr, r))}};
    case BehaviourKind::Redirect:
        return {{0, fromReporter(ErrorMessage(IcmpRedirect, 1, &sources.gateway, r))}};
    case BehaviourKind::BigReply:
        return {{0, fromTarget(EchoReplyMessage(r, b.bytes - IpHeaderBytes))}};
    case BehaviourKind::Silent:
        return {};
    case BehaviourKind::Lossy:
        if (Sequence(r) % b.period < b.count)
            return {};
        return {{0, fromTarget(EchoReplyMessage(r, icmpBytes))}};
    case BehaviourKind::Stepping: {
        const bool slow = Sequence(r) % b.period >= b.period - b.count;
        return {{slow ? SteppingSlowMs : SteppingFastMs, fromTarget(EchoReplyMessage(r, icmpBytes))}};
    }
    }
    return {};
}

std::string Hex(const std::uint8_t* data, std::size_t size)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string s;
    s.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 0x0F];
    }
    return s;
}

}  // namespace lab
