// bench_ping: the echo engine's cost and accuracy, run by hand under Wine.
//
//   bench_ping p1 [N]    N pings of 127.0.0.1 through TIdIcmpClient and N bare
//                        Winsock exchanges, interleaved; median and p95 of each
//                        and their ratio (target: 1.10 or less).
//   bench_ping loop S    one bare exchange with 127.0.0.1 a second for S
//                        seconds: the baseline of bench_monitor.sh.
//   bench_ping p2 [N]    inside the network lab: N pings each of the responders
//                        that answer after 20 ms and 200 ms; the median, p95
//                        and largest |TripTime - delay| (target: 1 ms or
//                        less), the same for the precise trip time in
//                        microseconds, and beside it the median and p95 error
//                        of N bare Winsock exchanges interleaved with them:
//                        the floor any Win32 program gets here (target: ours
//                        1.2 times that or less).
//
// Only loopback (p1) and the lab's own addresses (p2) are ever pinged.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "icmp/IcmpPacket.h"
#include "icmp/IdIcmpClient.h"
#include "tests/lab/LabAddresses.h"

namespace {

double NowMicroseconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER v;
    QueryPerformanceCounter(&v);
    return static_cast<double>(v.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    std::size_t i = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[i];
}

// One exchange with the Winsock calls alone, imported the ordinary way: the
// same request, the same first matching datagram, a fresh socket each time.
bool BareExchange(std::uint16_t sequence)
{
    SOCKET s = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (s == INVALID_SOCKET)
        return false;
    int ttl = 128;
    ::setsockopt(s, IPPROTO_IP, IP_TTL, reinterpret_cast<const char*>(&ttl), sizeof ttl);
    std::array<std::uint8_t, EchoRequestSize> request;
    BuildEchoRequest(request, static_cast<std::uint16_t>(GetCurrentProcessId()), sequence, GetTickCount(), "");
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    bool ok = ::sendto(s, reinterpret_cast<const char*>(request.data()), EchoRequestSize, 0,
                       reinterpret_cast<const sockaddr*>(&to), sizeof to) == EchoRequestSize;
    std::array<std::uint8_t, ReceiveBufferSize> buffer;
    for (int tries = 0; ok && tries < 8; ++tries) {
        fd_set set;
        set.fd_count = 1;
        set.fd_array[0] = s;
        timeval limit{1, 0};
        if (::select(0, &set, nullptr, nullptr, &limit) != 1) {
            ok = false;
            break;
        }
        int n = ::recv(s, reinterpret_cast<char*>(buffer.data()), ReceiveBufferSize, 0);
        if (n < 28) {
            ok = false;
            break;
        }
        std::size_t h = 4u * (buffer[0] & 0x0Fu);
        if (n >= static_cast<int>(h + 8) && (buffer[h + 6] | buffer[h + 7] << 8) == sequence)
            break;
    }
    ::shutdown(s, SD_SEND);
    ::closesocket(s);
    return ok;
}

int RunP1(int n)
{
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::puts("WSAStartup failed");
        return 1;
    }
    TIdIcmpClient client;
    client.SetHost("127.0.0.1");
    client.SetReceiveTimeout(1000);
    std::vector<double> engine, bare;
    std::uint16_t bareSequence = 100;
    for (int i = -50; i < n; ++i) { // the first 50 of each warm up
        double t0 = NowMicroseconds();
        client.Ping();
        double t1 = NowMicroseconds();
        if (client.ReplyStatus().Kind != rsEcho) {
            std::printf("engine ping %d: no echo (kind %d)\n", i, client.ReplyStatus().Kind);
            return 1;
        }
        if (!BareExchange(++bareSequence)) {
            std::printf("bare exchange %d failed\n", i);
            return 1;
        }
        double t2 = NowMicroseconds();
        if (i >= 0) {
            engine.push_back(t1 - t0);
            bare.push_back(t2 - t1);
        }
    }
    double em = Percentile(engine, 0.5), e95 = Percentile(engine, 0.95);
    double bm = Percentile(bare, 0.5), b95 = Percentile(bare, 0.95);
    std::printf("P1: %d exchanges each with 127.0.0.1, microseconds per exchange\n", n);
    std::printf("%-16s %10s %10s\n", "", "median", "p95");
    std::printf("%-16s %10.1f %10.1f\n", "TIdIcmpClient", em, e95);
    std::printf("%-16s %10.1f %10.1f\n", "bare Winsock", bm, b95);
    std::printf("%-16s %10.3f %10.3f   (target: median ratio <= 1.10)\n", "ratio", em / bm, e95 / b95);
    ::WSACleanup();
    return 0;
}

int RunLoop(int seconds)
{
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 1;
    const DWORD start = GetTickCount();
    for (int i = 0; i < seconds; ++i) {
        const DWORD due = start + static_cast<DWORD>(i) * 1000;
        const DWORD now = GetTickCount();
        if (static_cast<int>(due - now) > 0)
            Sleep(due - now);
        BareExchange(static_cast<std::uint16_t>(i));
    }
    ::WSACleanup();
    return 0;
}

// The trip to a lab responder as a bare Winsock exchange measures it: the
// counter read just before sendto and just after the recvfrom that brought
// the reply, with select waiting in between, nothing else. A fresh socket
// each time, as the engine opens one per ping: a raw socket sees every ICMP
// datagram of the namespace, so one kept open would queue the replies to the
// engine's pings and read them first.
std::optional<double> BareTripMicroseconds(const char* address, std::uint16_t sequence)
{
    SOCKET s = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (s == INVALID_SOCKET)
        return std::nullopt;
    const auto identifier = static_cast<std::uint16_t>(GetCurrentProcessId());
    std::array<std::uint8_t, EchoRequestSize> request;
    BuildEchoRequest(request, identifier, sequence, GetTickCount(), "");
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = ::inet_addr(address);
    std::array<std::uint8_t, ReceiveBufferSize> buffer;
    std::optional<double> trip;
    const double sent = NowMicroseconds();
    bool ok = ::sendto(s, reinterpret_cast<const char*>(request.data()), EchoRequestSize, 0,
                       reinterpret_cast<const sockaddr*>(&to), sizeof to) == EchoRequestSize;
    for (int tries = 0; ok && !trip && tries < 8; ++tries) {
        fd_set set;
        set.fd_count = 1;
        set.fd_array[0] = s;
        timeval limit{1, 0};
        if (::select(0, &set, nullptr, nullptr, &limit) != 1)
            break;
        sockaddr_in from{};
        int fromLength = sizeof from;
        int n = ::recvfrom(s, reinterpret_cast<char*>(buffer.data()), ReceiveBufferSize, 0,
                           reinterpret_cast<sockaddr*>(&from), &fromLength);
        const double received = NowMicroseconds();
        std::size_t h = n >= 20 ? 4u * (buffer[0] & 0x0Fu) : 0;
        if (n < static_cast<int>(h + 8) || h == 0)
            break;
        if (buffer[h] == 0 && (buffer[h + 4] | buffer[h + 5] << 8) == identifier &&
            (buffer[h + 6] | buffer[h + 7] << 8) == sequence)
            trip = received - sent;
    }
    ::closesocket(s);
    return trip;
}

int RunP2(int n)
{
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::puts("WSAStartup failed");
        return 1;
    }
    struct Target {
        const char* address;
        double delayMs;
    } targets[] = {{lab::Reply20Ms, 20}, {lab::Reply200Ms, 200}};
    TIdIcmpClient client;
    client.SetReceiveTimeout(1000);
    // Far from the engine's own sequence numbers, which start at 3489.
    std::uint16_t bareSequence = 40000;
    std::printf("P2: %d pings each, |trip time - delay| in milliseconds; bare Winsock interleaved\n", n);
    std::printf("%-13s %5s  %-20s  %-20s  %-13s  %5s\n", "", "", "TripTime (whole ms)", "precise (us)",
                "bare Winsock", "ratio");
    std::printf("%-13s %5s  %6s %6s %6s  %6s %6s %6s  %6s %6s  %5s\n", "responder", "delay", "median", "p95",
                "max", "median", "p95", "max", "median", "p95", "");
    for (const auto& t : targets) {
        client.SetHost(t.address);
        std::vector<double> errors, precise, bare;
        const auto ours = [&] {
            client.Ping();
            if (client.ReplyStatus().Kind != rsEcho) {
                std::printf("%s: no echo (kind %d)\n", t.address, client.ReplyStatus().Kind);
                return false;
            }
            errors.push_back(std::abs(static_cast<double>(client.ReplyStatus().TripTime) - t.delayMs));
            precise.push_back(std::abs(client.PreciseTripTime() / 1000.0 - t.delayMs));
            return true;
        };
        const auto theirs = [&] {
            auto trip = BareTripMicroseconds(t.address, ++bareSequence);
            if (!trip) {
                std::printf("%s: a bare exchange found no reply\n", t.address);
                return false;
            }
            bare.push_back(std::abs(*trip / 1000.0 - t.delayMs));
            return true;
        };
        // Each goes first every other time, so neither always follows the
        // other's closed socket.
        for (int i = 0; i < n; ++i) {
            if (!(i % 2 ? ours() && theirs() : theirs() && ours()))
                return 1;
        }
        std::printf("%-13s %5.0f  %6.1f %6.1f %6.1f  %6.3f %6.3f %6.3f  %6.3f %6.3f  %5.2f\n", t.address,
                    t.delayMs, Percentile(errors, 0.5), Percentile(errors, 0.95),
                    *std::max_element(errors.begin(), errors.end()), Percentile(precise, 0.5),
                    Percentile(precise, 0.95), *std::max_element(precise.begin(), precise.end()),
                    Percentile(bare, 0.5), Percentile(bare, 0.95), Percentile(precise, 0.5) / Percentile(bare, 0.5));
    }
    std::puts("(targets: TripTime median <= 1 ms; ratio, precise median over bare median, <= 1.20)");
    ::WSACleanup();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    int n = argc > 2 ? std::atoi(argv[2]) : 0;
    try {
        if (mode == "p1")
            return RunP1(n > 0 ? n : 2000);
        if (mode == "loop")
            return RunLoop(n > 0 ? n : 60);
        if (mode == "p2")
            return RunP2(n > 0 ? n : 50);
    } catch (const std::exception& e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
    std::puts("usage: bench_ping p1 [N] | loop SECONDS | p2 [N]");
    return 2;
}
