// The lab responder's answers, as bytes: given one received IPv4 datagram that
// holds an echo request and the behaviour chosen for its destination, Plan
// returns the datagrams to send (IP header included) and when. Pure byte code
// with no system headers, so the native tree tests it under sanitizers.
//
//  IPv4 header (20 bytes, no options)       ICMP header (8 bytes)
//   0 ver/ihl  1 tos  2-3 total length       0 type  1 code  2-3 checksum
//   4-5 id     6-7 flags/fragment            4-7 echo: identifier, sequence
//   8 ttl      9 protocol  10-11 checksum        error: unused, redirect: gateway
//   12-15 source          16-19 destination  8.. echo: data, error: quoted request
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lab {

using Bytes = std::vector<std::uint8_t>;
using Address = std::array<std::uint8_t, 4>;

enum class BehaviourKind {
    Reply,          // echo reply after delayMs
    ForeignFirst,   // echo reply with a foreign sequence number, then after delayMs the right one
    Unreachable,    // 3/1 from the reporter, quoting the request's IP header and 8 bytes
    TimeExceeded,   // 11/0, likewise
    Redirect,       // 5/1 naming the gateway, likewise
    BigReply,       // echo reply padded to a datagram of `bytes` bytes
    Silent,         // nothing
    UnreachableWithOptions, // Unreachable, its own IP header carrying `bytes` option bytes
    ForeignFlood,   // `count` foreign echo replies, one every delayMs, and never the right one
    UnrelatedFirst, // other ICMP not about this request, one every delayMs, then the right reply
    Lossy,          // silence when the sequence number modulo `period` is below `count`, else an echo reply
    Stepping,       // an echo reply after SteppingFastMs, or after SteppingSlowMs for the last `count` of every `period`
};

// The stepping host's two delays.
inline constexpr unsigned SteppingFastMs = 20;
inline constexpr unsigned SteppingSlowMs = 800;

struct Behaviour {
    BehaviourKind kind = BehaviourKind::Silent;
    unsigned delayMs = 0;
    unsigned bytes = 0;
    unsigned count = 0;
    unsigned period = 0;
};

// Behaviour names as lab.sh passes them: now, delay:MS, foreign:MS,
// unreachable, ttl, redirect, big:BYTES, silent, unreachable-options:BYTES,
// flood:MS:COUNT, unrelated:MS, lose:PERIOD:COUNT, step:PERIOD:COUNT.
std::optional<Behaviour> ParseBehaviour(std::string_view text);
std::optional<Address> ParseAddress(std::string_view text);
std::string FormatAddress(const Address& a);

// RFC 1071 over the bytes as they lie, so the result is stored as it comes.
std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t size);

// What a received datagram says, when it is a well-formed echo request.
struct EchoRequest {
    Address source{};
    Address destination{};
    std::uint8_t ttl = 0;
    std::size_t headerBytes = 0;
    Bytes datagram;
};
std::optional<EchoRequest> ReadEchoRequest(const std::uint8_t* data, std::size_t size);

struct PlannedSend {
    unsigned delayMs = 0;
    Bytes datagram;
};

struct Sources {
    Address reporter{};
    Address gateway{};
};

std::vector<PlannedSend> Plan(const Behaviour& b, const EchoRequest& request, const Sources& sources);

std::string Hex(const std::uint8_t* data, std::size_t size);

}  // namespace lab
