// bench_figures: the run figures alone, natively: the bytes they hold after
// 10^6 pings with 10^5 outages (target: a few MB), and their cost per reply
// against a loop that only sums the trip times. Run by hand:
//   build/native/tools/bench/bench_figures
#include <chrono>
#include <cstdio>

#include "monitor/RunFigures.h"
#include "monitor/RunTipText.h"

namespace {

using Clock = std::chrono::steady_clock;

// Ten pings in a row: nine echoes of 1 to 41 ms in microseconds, then one
// time-out, so every tenth ping opens an outage and the next echo ends it.
template <class Echo, class Fail>
void Play(int pings, Echo echo, Fail fail)
{
    for (int i = 0; i < pings; ++i) {
        const TClockReading at{TInstant(std::chrono::seconds(i)), {1000LL * i, 0}};
        if (i % 10 == 9)
            fail(TClockReading{at.Mono - std::chrono::seconds(1), at.Wall.Before(std::chrono::seconds(1))});
        else
            echo(1000 + static_cast<std::uint32_t>(i * 2654435761u >> 7) % 40000, at);
    }
}

} // namespace

int main()
{
    constexpr int pings = 1000000;
    TRunFigures figures;
    const auto start = Clock::now();
    Play(pings, [&](std::uint32_t trip, const TClockReading& at) { figures.AddEcho(trip, at); },
         [&](const TClockReading& sent) { figures.AddFailure(rsTimeOut, sent); });
    const double withFigures = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / pings;

    volatile std::uint64_t sum = 0;
    const auto base = Clock::now();
    Play(pings, [&](std::uint32_t trip, const TClockReading&) { sum = sum + trip; },
         [&](const TClockReading&) { sum = sum + 1; });
    const double bare = std::chrono::duration<double, std::nano>(Clock::now() - base).count() / pings;

    std::printf("%-40s %12llu pings, %llu outages, %zu records kept\n", "run", static_cast<unsigned long long>(figures.Pings()),
                static_cast<unsigned long long>(figures.OutageCount()), figures.Outages().size());
    std::printf("%-40s %12.2f MB (target: a few MB)\n", "bytes held by the figures", figures.HeldBytes() / 1048576.0);
    std::printf("%-40s %12.1f ns  (a bare sum: %.1f ns)\n", "one reply", withFigures, bare);
    std::printf("%-40s %s\n", "tip", RunTipText(figures, TInstant(std::chrono::seconds(pings)), {}).c_str());
    return 0;
}
