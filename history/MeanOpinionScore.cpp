#include "history/MeanOpinionScore.h"

#include <algorithm>

double MeanOpinionScore(double averageMs, double jitterMs, double lossPercent)
{
    const double latency = averageMs + 2 * jitterMs + 10;
    double r = latency < 160 ? 93.2 - latency / 40 : 93.2 - (latency - 120) / 10;
    r = std::clamp(r - 2.5 * lossPercent, 0.0, 100.0);
    return 1 + 0.035 * r + 7e-6 * r * (r - 60) * (100 - r);
}
