#include "monitor/RecentFigures.h"

namespace {
std::uint32_t Change(std::uint32_t a, std::uint32_t b)
{
    return a > b ? a - b : b - a;
}
} // namespace

void TRecentFigures::Add(TInstant ended, bool echo, std::uint32_t tripUs)
{
    pings_.push_back({ended, echo});
    if (echo) {
        if (!echoes_.empty())
            jitterSum_ += Change(tripUs, echoes_.back().tripUs);
        echoes_.push_back({ended, tripUs});
        tripSum_ += tripUs;
    } else {
        ++failures_;
    }
    const TInstant oldest = ended - Window;
    while (!pings_.empty() && pings_.front().ended <= oldest) {
        failures_ -= pings_.front().echo ? 0 : 1;
        pings_.pop_front();
    }
    while (!echoes_.empty() && echoes_.front().ended <= oldest) {
        const std::uint32_t left = echoes_.front().tripUs;
        tripSum_ -= left;
        echoes_.pop_front();
        // The pair of the leaving echo and the next one leaves with it.
        if (!echoes_.empty())
            jitterSum_ -= Change(left, echoes_.front().tripUs);
    }
}

double TRecentFigures::Mos() const
{
    const double echoes = static_cast<double>(Echoes());
    const double avg = echoes > 0 ? static_cast<double>(tripSum_) / echoes / 1000 : 0;
    const double jitter = JitterPairs() ? static_cast<double>(jitterSum_) / static_cast<double>(JitterPairs()) / 1000 : 0;
    const double loss = Pings() ? 100.0 * static_cast<double>(failures_) / static_cast<double>(Pings()) : 0;
    return MeanOpinionScore(avg, jitter, loss);
}

double MeanOpinionScore(double avgMs, double jitterMs, double lossPercent)
{
    const double el = avgMs + 2 * jitterMs + 10;
    double r = el < 160 ? 93.2 - el / 40 : 93.2 - (el - 120) / 10;
    r -= 2.5 * lossPercent;
    r = r < 0 ? 0 : r > 100 ? 100 : r;
    // The cubic dips just below 1 for R under about 6: held at 1.
    const double mos = 1 + 0.035 * r + 7e-6 * r * (r - 60) * (100 - r);
    return mos < 1 ? 1 : mos;
}
