// The bytes of one echo exchange: building the 52-byte request and reading a
// received datagram back into a TReplyStatus. Portable; fuzzed.
//
// Request (ICMP message; the platform adds the IPv4 header):
//
//   0        1        2                 4                 6                 8
//   +--------+--------+--------+--------+--------+--------+--------+--------+
//   | type 8 | code 0 |    checksum     | identifier (LE) |  sequence (LE)  |
//   +--------+--------+--------+--------+--------+--------+--------+--------+
//   |     millisecond counter (LE)      |          zero (8 bytes)  ...      |
//   +--------+--------+--------+--------+--------+--------+--------+--------+
//  20  payload: the caller's data (at most 32 bytes), then "E" up to byte 52
//
// Identifier and sequence go out least significant byte first, not in network
// order, and the reply's sequence is read back the same way.
//
// Received datagram: IPv4 header of H = 4 * (byte 0 & 0x0F) bytes, then ICMP:
//   byte 8 TTL, bytes 12..15 source, byte H type,
//   echo reply / request: identifier at H+4, sequence at H+6;
//   unreachable / time exceeded: the quoted request's IPv4 header at Q = H+8,
//   Q' = 4 * (byte Q & 0x0F) bytes long by its own count, then its identifier
//   at Q+Q'+4 and sequence at Q+Q'+6.
// Both are ours only when identifier and sequence are: another program on the
// same machine sees the same datagrams and may use the same sequence numbers.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "icmp/ReplyStatus.h"

inline constexpr int EchoRequestSize = 52;
inline constexpr int EchoPayloadOffset = 20;
inline constexpr int EchoPayloadSize = 32;
inline constexpr int ReceiveBufferSize = 1024;

// RFC 1071 over the bytes, words read least significant byte first; the
// result is stored the same way, which gives the standard checksum bytes.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

void BuildEchoRequest(std::span<std::uint8_t, EchoRequestSize> request, std::uint16_t identifier,
                      std::uint16_t sequence, std::uint32_t counter, std::string_view data);

// Reads one received datagram (exactly the bytes received, nothing beyond)
// into status for the request with the given identifier and sequence number.
// Returns true when the wait is done; false leaves status as it was except for
// Kind, which then holds this datagram's classification. An empty datagram is
// a time-out. Raises EIdIcmpException for a datagram that is too short, or of
// a type other than echo, unreachable and time exceeded that carries or quotes
// our identifier and sequence; such a message about other traffic is skipped.
bool DecodeEchoReply(std::span<const std::uint8_t> datagram, std::uint16_t identifier, std::uint16_t sequence,
                     TReplyStatus& status);

// The record of a wait that found no reply: 0 bytes, "0.0.0.0", type 0, the
// sequence number sent, TTL 0, rsTimeOut.
void SetTimeOut(TReplyStatus& status, std::uint16_t sequence);
