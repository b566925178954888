// bench_figures: the run figures alone, natively: the bytes they hold after
// 10^6 pings with 10^5 outages (target: a few MB), and their cost per reply
// against a loop that only sums the trip times. Run by hand:
//   build/native/tools/bench/bench_figures
#include <chrono>
#include <cstdio>

#include "console/RunFigures.h"
#include "console/RunTipText.h"

namespace {

using Clock = std::chrono::steady_clock;

// Ten pings in a row: nine echoes of 1 to 40 ms, then one time-out, so every
// tenth ping opens an outage and the next echo ends it.
template <class Echo, class Fail>
void Play(int pings, Echo echo, Fail fail)
{
    for (int i = 0; i < pings; ++i) {
        const TLocalMs at = 1000LL * i;
        if (i % 10 == 9)
            fail(at - 1000);
        else
            echo(1 + static_cast<std::uint32_t>(i * 2654435761u >> 27), at);
    }
}

} // namespace

int main()
{
    constexpr int pings = 1000000;
    TRunFigures figures;
    const auto start = Clock::now();
    Play(pings, [&](std::uint32_t trip, TLocalMs at) { figures.AddEcho(trip, at); },
         [&](TLocalMs sent) { figures.AddFailure(rsTimeOut, sent); });
    const double withFigures = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / pings;

    volatile std::uint64_t sum = 0;
    const auto base = Clock::now();
    Play(pings, [&](std::uint32_t trip, TLocalMs) { sum = sum + trip; }, [&](TLocalMs) { sum = sum + 1; });
    const double bare = std::chrono::duration<double, std::nano>(Clock::now() - base).count() / pings;

    std::printf("%-40s %12llu pings, %llu outages, %zu records kept\n", "run", static_cast<unsigned long long>(figures.Pings()),
                static_cast<unsigned long long>(figures.OutageCount()), figures.Outages().size());
    std::printf("%-40s %12.2f MB (target: a few MB)\n", "bytes held by the figures", figures.HeldBytes() / 1048576.0);
    std::printf("%-40s %12.1f ns  (a bare sum: %.1f ns)\n", "one reply", withFigures, bare);
    std::printf("%-40s %s\n", "tip", RunTipText(figures, 1000LL * pings, {}).c_str());
    return 0;
}
