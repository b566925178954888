// The lab probe: sends one 52-byte echo request over a raw Winsock socket, the
// way the program does, and records every datagram that arrives within a
// fixed window, with its arrival time. Win32 layer; one thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace probe {

// One datagram as recv returned it (IP header included), or a failed recv.
struct Arrival {
    double ms = 0;                      // since just before the send
    int error = 0;                      // WSAGetLastError() when recv failed
    std::vector<std::uint8_t> bytes;

    std::size_t HeaderBytes() const { return 4u * (bytes.at(0) & 0x0F); }
    std::uint8_t Type() const { return bytes.at(HeaderBytes()); }
    std::uint8_t Code() const { return bytes.at(HeaderBytes() + 1); }
    std::string Source() const;
    // Little-endian 16-bit value at `at`, the order the request is sent in.
    std::uint16_t Le16(std::size_t at) const { return static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8); }
};

struct Exchange {
    std::vector<std::uint8_t> request;  // the ICMP message sent
    std::vector<Arrival> arrivals;
};

std::vector<std::uint8_t> EchoRequest(std::uint16_t identifier, std::uint16_t sequence);
std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t size);

// Sends to `address` with TTL 128 and listens for windowMs; recv reads at most
// bufferBytes. Throws std::runtime_error when the socket cannot be used at all.
Exchange Ping(const char* address, std::uint16_t sequence, unsigned windowMs, int bufferBytes = 1024);

// gethostbyname: the dotted address, or "" and the Winsock error.
std::string Resolve(const char* name, int& error);

std::string Describe(const Arrival& a);

}  // namespace probe
