#include "tests/lab/probe/Probe.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace probe {

namespace {

constexpr std::size_t RequestBytes = 52;
constexpr int RequestTtl = 128;

double NowMs()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

struct WinsockSession {
    WinsockSession()
    {
        WSADATA d;
        if (WSAStartup(MAKEWORD(2, 2), &d) != 0) {
            throw std::runtime_error("WSAStartup failed");
        }
    }
    ~WinsockSession() { WSACleanup(); }
};

struct RawSocket {
    SOCKET s = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    ~RawSocket()
    {
        if (s != INVALID_SOCKET) {
            closesocket(s);
        }
    }
};

}  // namespace

std::string Arrival::Source() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes.at(12), bytes.at(13), bytes.at(14), bytes.at(15));
    return text;
}

std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        sum += static_cast<std::uint32_t>(data[i] | data[i + 1] << 8);
    }
    if (size % 2) {
        sum += data[size - 1];
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

std::vector<std::uint8_t> EchoRequest(std::uint16_t identifier, std::uint16_t sequence)
{
    std::vector<std::uint8_t> m(RequestBytes, 0);
    m[0] = 8;
    m[4] = static_cast<std::uint8_t>(identifier);
    m[5] = static_cast<std::uint8_t>(identifier >> 8);
    m[6] = static_cast<std::uint8_t>(sequence);
    m[7] = static_cast<std::uint8_t>(sequence >> 8);
    DWORD tick = GetTickCount();
    for (int i = 0; i < 4; ++i) {
        m[8 + i] = static_cast<std::uint8_t>(tick >> (8 * i));
    }
    for (std::size_t i = 20; i < RequestBytes; ++i) {
        m[i] = 'E';
    }
    std::uint16_t sum = InternetChecksum(m.data(), m.size());
    m[2] = static_cast<std::uint8_t>(sum);
    m[3] = static_cast<std::uint8_t>(sum >> 8);
    return m;
}

Exchange Ping(const char* address, std::uint16_t sequence, unsigned windowMs, int bufferBytes)
{
    WinsockSession session;
    RawSocket raw;
    if (raw.s == INVALID_SOCKET) {
        throw std::runtime_error("raw socket: error " + std::to_string(WSAGetLastError()));
    }
    int ttl = RequestTtl;
    setsockopt(raw.s, IPPROTO_IP, IP_TTL, reinterpret_cast<const char*>(&ttl), sizeof ttl);
    Exchange x;
    x.request = EchoRequest(static_cast<std::uint16_t>(GetCurrentProcessId()), sequence);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr(address);
    double start = NowMs();
    if (sendto(raw.s, reinterpret_cast<const char*>(x.request.data()), static_cast<int>(x.request.size()), 0,
               reinterpret_cast<const sockaddr*>(&to), sizeof to) != static_cast<int>(x.request.size())) {
        throw std::runtime_error("sendto: error " + std::to_string(WSAGetLastError()));
    }
    std::vector<char> buffer(static_cast<std::size_t>(bufferBytes));
    // Bounded twice: by the window and by the number of datagrams.
    for (int n = 0; n < 64; ++n) {
        double left = start + windowMs - NowMs();
        if (left <= 0) {
            break;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(raw.s, &readable);
        timeval tv{static_cast<long>(left / 1000), static_cast<long>(static_cast<long long>(left * 1000) % 1000000)};
        if (select(0, &readable, nullptr, nullptr, &tv) <= 0) {
            break;
        }
        Arrival a;
        int got = recv(raw.s, buffer.data(), bufferBytes, 0);
        a.ms = NowMs() - start;
        if (got == SOCKET_ERROR) {
            a.error = WSAGetLastError();
        } else {
            a.bytes.assign(buffer.begin(), buffer.begin() + got);
        }
        std::printf("%s seq %u: %s\n", address, sequence, Describe(a).c_str());
        x.arrivals.push_back(std::move(a));
    }
    std::fflush(stdout);
    return x;
}

std::string Resolve(const char* name, int& error)
{
    WinsockSession session;
    error = 0;
    hostent* h = gethostbyname(name);
    if (!h || h->h_addrtype != AF_INET || !h->h_addr_list[0]) {
        error = WSAGetLastError();
        return "";
    }
    in_addr a;
    std::memcpy(&a, h->h_addr_list[0], sizeof a);
    return inet_ntoa(a);
}

std::string Describe(const Arrival& a)
{
    char text[160];
    if (a.error) {
        std::snprintf(text, sizeof text, "recv error %d after %.1f ms", a.error, a.ms);
    } else if (a.bytes.size() < 28) {
        std::snprintf(text, sizeof text, "%zu bytes after %.1f ms", a.bytes.size(), a.ms);
    } else {
        std::snprintf(text, sizeof text, "%zu bytes from %s ttl %u type %u/%u after %.1f ms", a.bytes.size(),
                      a.Source().c_str(), a.bytes[8], a.Type(), a.Code(), a.ms);
    }
    return text;
}

}  // namespace probe
