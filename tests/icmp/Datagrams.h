// Received IPv4 datagrams built byte by byte for the decoder's tests.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// A 20-byte IPv4 header with the given TTL and source, then `icmp`.
inline std::vector<std::uint8_t> IPv4Datagram(const std::vector<std::uint8_t>& icmp, std::uint8_t ttl,
                                              std::array<std::uint8_t, 4> source)
{
    std::size_t total = 20 + icmp.size();
    std::vector<std::uint8_t> d(total, 0);
    d[0] = 0x45;
    d[2] = static_cast<std::uint8_t>(total >> 8);
    d[3] = static_cast<std::uint8_t>(total);
    d[8] = ttl;
    d[9] = 1;
    for (int i = 0; i < 4; ++i) {
        d[12 + i] = source[i];
        d[16 + i] = 127;
    }
    std::copy(icmp.begin(), icmp.end(), d.begin() + 20);
    return d;
}

// A 52-byte echo message of the given type, sequence little-endian at 6.
inline std::vector<std::uint8_t> EchoMessage(std::uint8_t type, std::uint16_t seq)
{
    std::vector<std::uint8_t> m(52, 'E');
    for (int i = 0; i < 20; ++i)
        m[i] = 0;
    m[0] = type;
    m[4] = 0x11;
    m[5] = 0x22;
    m[6] = static_cast<std::uint8_t>(seq);
    m[7] = static_cast<std::uint8_t>(seq >> 8);
    return m;
}

inline std::vector<std::uint8_t> EchoDatagram(std::uint8_t type, std::uint16_t seq, std::uint8_t ttl,
                                              std::array<std::uint8_t, 4> source)
{
    return IPv4Datagram(EchoMessage(type, seq), ttl, source);
}

// An error report quoting the request's IPv4 header and its first
// `quotedIcmp` bytes (8 for a minimal report, 52 for a kernel's).
inline std::vector<std::uint8_t> ErrorReport(std::uint8_t type, std::uint8_t code, std::uint16_t seq,
                                             std::size_t quotedIcmp, std::array<std::uint8_t, 4> reporter)
{
    std::vector<std::uint8_t> quoted = EchoDatagram(8, seq, 127, {198, 51, 100, 2});
    quoted.resize(20 + quotedIcmp);
    std::vector<std::uint8_t> icmp = {type, code, 0, 0, 0, 0, 0, 0};
    icmp.insert(icmp.end(), quoted.begin(), quoted.end());
    return IPv4Datagram(icmp, 64, reporter);
}

// The same datagram with `extra` option bytes in its IPv4 header.
inline std::vector<std::uint8_t> WithHeaderOptions(std::vector<std::uint8_t> d, std::size_t extra)
{
    d.insert(d.begin() + 20, extra, std::uint8_t{1});
    d[0] = static_cast<std::uint8_t>(0x40 | (20 + extra) / 4);
    return d;
}
