// zvlab-responder: the lab's scripted ICMP host. Runs in a lab namespace whose
// kernel ignores echo requests; reads each request on a raw ICMP socket and
// answers as the behaviour of its destination address says, building whole
// datagrams (IP header included) on an IPPROTO_RAW socket. One thread; it
// stops by itself after --lifetime seconds or --max-requests requests.
//
//   zvlab-responder --log FILE --reporter A --gateway A [--lifetime S]
//                   [--max-requests N] ADDRESS=BEHAVIOUR...
#include "tools/lab/ResponderPackets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string logPath;
    lab::Sources sources;
    unsigned long lifetimeSeconds = 3600;
    unsigned long maxRequests = 100000;
    std::map<lab::Address, lab::Behaviour> behaviours;
};

struct Pending {
    Clock::time_point due;
    lab::Bytes datagram;
    lab::Address destination;
};

volatile std::sig_atomic_t stopRequested = 0;

void OnSignal(int)
{
    stopRequested = 1;
}

bool ParseArgs(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "--log" && hasValue) {
            o.logPath = argv[++i];
        } else if ((a == "--reporter" || a == "--gateway") && hasValue) {
            auto addr = lab::ParseAddress(argv[++i]);
            if (!addr) {
                return false;
            }
            (a == "--reporter" ? o.sources.reporter : o.sources.gateway) = *addr;
        } else if ((a == "--lifetime" || a == "--max-requests") && hasValue) {
            char* end = nullptr;
            unsigned long n = std::strtoul(argv[++i], &end, 10);
            if (*end != '\0' || n == 0) {
                return false;
            }
            (a == "--lifetime" ? o.lifetimeSeconds : o.maxRequests) = n;
        } else {
            auto eq = a.find('=');
            if (eq == std::string::npos) {
                return false;
            }
            auto addr = lab::ParseAddress(std::string_view(a).substr(0, eq));
            auto behaviour = lab::ParseBehaviour(std::string_view(a).substr(eq + 1));
            if (!addr || !behaviour) {
                std::fprintf(stderr, "zvlab-responder: bad behaviour %s\n", a.c_str());
                return false;
            }
            o.behaviours[*addr] = *behaviour;
        }
    }
    return !o.logPath.empty() && !o.behaviours.empty();
}

void Send(int rawOut, const Pending& p)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    std::memcpy(&to.sin_addr, p.destination.data(), 4);
    if (sendto(rawOut, p.datagram.data(), p.datagram.size(), 0, reinterpret_cast<sockaddr*>(&to),
               sizeof to) < 0) {
        std::fprintf(stderr, "zvlab-responder: send of %zu bytes failed: %s\n", p.datagram.size(),
                     std::strerror(errno));
    }
}

int Run(const Options& o)
{
    std::FILE* log = std::fopen(o.logPath.c_str(), "a");
    int rawIn = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    int rawOut = socket(AF_INET, SOCK_RAW, IPPROTO_RAW);
    if (!log || rawIn < 0 || rawOut < 0) {
        std::fprintf(stderr, "zvlab-responder: cannot open the log or the raw sockets: %s\n",
                     std::strerror(errno));
        return 1;
    }
    const auto end = Clock::now() + std::chrono::seconds(o.lifetimeSeconds);
    std::vector<Pending> pending;
    unsigned long requests = 0;
    std::uint8_t buffer[65536];
    std::fprintf(stderr, "zvlab-responder: serving %zu addresses\n", o.behaviours.size());
    while (!stopRequested && Clock::now() < end && (requests < o.maxRequests || !pending.empty())) {
        auto now = Clock::now();
        auto wake = end;
        for (const auto& p : pending) {
            wake = std::min(wake, p.due);
        }
        auto waitMs = std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count();
        pollfd pfd{rawIn, POLLIN, 0};
        int ready = poll(&pfd, 1, static_cast<int>(std::clamp<long long>(waitMs, 0, 1000)));
        now = Clock::now();
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->due <= now) {
                Send(rawOut, *it);
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
        if (ready <= 0 || requests >= o.maxRequests) {
            continue;
        }
        ssize_t n = recv(rawIn, buffer, sizeof buffer, 0);
        auto request = n > 0 ? lab::ReadEchoRequest(buffer, static_cast<std::size_t>(n)) : std::nullopt;
        if (!request) {
            continue;
        }
        auto found = o.behaviours.find(request->destination);
        if (found == o.behaviours.end()) {
            continue;
        }
        ++requests;
        const auto* icmp = request->datagram.data() + request->headerBytes;
        std::fprintf(log, "dst=%s src=%s ttl=%u icmp=%s\n", lab::FormatAddress(request->destination).c_str(),
                     lab::FormatAddress(request->source).c_str(), request->ttl,
                     lab::Hex(icmp, request->datagram.size() - request->headerBytes).c_str());
        std::fflush(log);
        for (auto& s : lab::Plan(found->second, *request, o.sources)) {
            pending.push_back({now + std::chrono::milliseconds(s.delayMs), std::move(s.datagram), request->source});
        }
    }
    std::fprintf(stderr, "zvlab-responder: stopping after %lu requests\n", requests);
    close(rawIn);
    close(rawOut);
    std::fclose(log);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: zvlab-responder --log FILE --reporter A --gateway A [--lifetime S] "
                     "[--max-requests N] ADDRESS=BEHAVIOUR...\n");
        return 2;
    }
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    return Run(o);
}
