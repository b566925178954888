// Received IPv4 datagrams built byte by byte for the decoder's tests.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// An IPv4 header with the given TTL and source and `options` option bytes
// (20 bytes without), then `icmp`.
inline std::vector<std::uint8_t> IPv4Datagram(const std::vector<std::uint8_t>& icmp, std::uint8_t ttl,
                                              std::array<std::uint8_t, 4> source, std::size_t options = 0)
{
    std::size_t header = 20 + options;
    std::size_t total = header + icmp.size();
    std::vector<std::uint8_t> d(total, 0);
    for (std::size_t i = 20; i < header; ++i)
        d[i] = 1; // no-operation options
    d[0] = static_cast<std::uint8_t>(0x40 | header / 4);
    d[2] = static_cast<std::uint8_t>(total >> 8);
    d[3] = static_cast<std::uint8_t>(total);
    d[8] = ttl;
    d[9] = 1;
    for (int i = 0; i < 4; ++i) {
        d[12 + i] = source[i];
        d[16 + i] = 127;
    }
    std::copy(icmp.begin(), icmp.end(), d.begin() + static_cast<std::ptrdiff_t>(header));
    return d;
}

// The identifier the decoder's tests send: bytes 0x11 0x22 at offset 4.
inline constexpr std::uint16_t OurId = 0x2211;

// A 52-byte echo message of the given type, identifier and sequence
// little-endian at 4 and 6.
inline std::vector<std::uint8_t> EchoMessage(std::uint8_t type, std::uint16_t seq, std::uint16_t id = OurId)
{
    std::vector<std::uint8_t> m(52, 'E');
    for (int i = 0; i < 20; ++i)
        m[i] = 0;
    m[0] = type;
    m[4] = static_cast<std::uint8_t>(id);
    m[5] = static_cast<std::uint8_t>(id >> 8);
    m[6] = static_cast<std::uint8_t>(seq);
    m[7] = static_cast<std::uint8_t>(seq >> 8);
    return m;
}

inline std::vector<std::uint8_t> EchoDatagram(std::uint8_t type, std::uint16_t seq, std::uint8_t ttl,
                                              std::array<std::uint8_t, 4> source, std::uint16_t id = OurId)
{
    return IPv4Datagram(EchoMessage(type, seq, id), ttl, source);
}

// The same datagram with `extra` option bytes in its IPv4 header.
inline std::vector<std::uint8_t> WithHeaderOptions(std::vector<std::uint8_t> d, std::size_t extra)
{
    d.insert(d.begin() + 20, extra, std::uint8_t{1});
    d[0] = static_cast<std::uint8_t>(0x40 | (20 + extra) / 4);
    return d;
}

// An error report quoting the request's IPv4 header and its first
// `quotedIcmp` bytes (8 for a minimal report, 52 for a kernel's); either
// header may carry option bytes.
inline std::vector<std::uint8_t> ErrorReport(std::uint8_t type, std::uint8_t code, std::uint16_t seq,
                                             std::size_t quotedIcmp, std::array<std::uint8_t, 4> reporter,
                                             std::size_t quotedOptions = 0, std::uint16_t id = OurId,
                                             std::size_t outerOptions = 0)
{
    std::vector<std::uint8_t> request = EchoMessage(8, seq, id);
    request.resize(quotedIcmp);
    std::vector<std::uint8_t> icmp = {type, code, 0, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> quoted = IPv4Datagram(request, 127, {198, 51, 100, 2}, quotedOptions);
    icmp.resize(8 + quoted.size());
    std::copy(quoted.begin(), quoted.end(), icmp.begin() + 8);
    return IPv4Datagram(icmp, 64, reporter, outerOptions);
}
