// bench_figures: the run figures and the link model alone, natively: the
// bytes they hold after 10^6 pings with 10^5 outages (target: a few MB), and
// their cost per reply against a loop that only sums the trip times. Run by hand:
//   build/native/tools/bench/bench_figures
#include <chrono>
#include <cstdio>

#include "monitor/LinkModel.h"
#include "monitor/RunFigures.h"
#include "monitor/RunTipText.h"

namespace {

using Clock = std::chrono::steady_clock;

// Ten pings in a row: nine echoes of 1 to 41 ms in microseconds, then one
// time-out, so that (down and up after one) every tenth ping opens an
// outage and the next echo ends it.
template <class Ping>
void Play(int pings, Ping ping)
{
    TPingRecord record;
    for (int i = 0; i < pings; ++i) {
        const bool fail = i % 10 == 9;
        record.Outcome = fail ? TPingOutcome::Failure : TPingOutcome::Echo;
        record.Reply.Kind = fail ? rsTimeOut : rsEcho;
        record.TripUs = fail ? 1000000 : 1000 + static_cast<std::uint32_t>(i * 2654435761u >> 7) % 40000;
        record.Sent = TInstant(std::chrono::seconds(i)) - std::chrono::microseconds(record.TripUs);
        record.Filed = {1000LL * i, 0};
        ping(record);
    }
}

} // namespace

int main()
{
    constexpr int pings = 1000000;
    TRunFigures figures;
    TLinkModel link;
    TAlertOptions options;
    options.DownAfter = options.UpAfter = 1;
    options.PauseWhenFlapping = false;
    link.SetOptions(options);
    link.SetRepeating(true, {});
    const auto start = Clock::now();
    Play(pings, [&](const TPingRecord& r) {
        if (r.Outcome == TPingOutcome::Echo)
            figures.AddEcho(r.TripUs);
        else
            figures.AddFailure();
        link.AddPing(r);
    });
    const double withFigures = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / pings;

    volatile std::uint64_t sum = 0;
    const auto base = Clock::now();
    Play(pings, [&](const TPingRecord& r) { sum = sum + r.TripUs; });
    const double bare = std::chrono::duration<double, std::nano>(Clock::now() - base).count() / pings;

    std::printf("%-40s %12llu pings, %llu outages, %zu records kept\n", "run", static_cast<unsigned long long>(figures.Pings()),
                static_cast<unsigned long long>(link.OutageCount()), link.Outages().size());
    std::printf("%-40s %12.2f MB (target: a few MB)\n", "bytes held by the figures", (figures.HeldBytes() + sizeof link + link.Outages().size() * sizeof(TOutage)) / 1048576.0);
    std::printf("%-40s %12.1f ns  (a bare sum: %.1f ns)\n", "one reply", withFigures, bare);
    std::printf("%-40s %s\n", "tip", RunTipText(figures, link, TInstant(std::chrono::seconds(pings)), {}).c_str());
    return 0;
}
