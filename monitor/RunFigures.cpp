#include "monitor/RunFigures.h"

void TRunFigures::Start(TClockReading now)
{
    // The counts' tree goes too; the next echo makes it again.
    *this = TRunFigures(now);
}

void TRunFigures::AddEcho(std::uint32_t tripUs)
{
    if (echoes_ == 0) {
        minTrip_ = maxTrip_ = tripUs;
    } else {
        minTrip_ = tripUs < minTrip_ ? tripUs : minTrip_;
        maxTrip_ = tripUs > maxTrip_ ? tripUs : maxTrip_;
        jitterSum_ += tripUs > lastTrip_ ? tripUs - lastTrip_ : lastTrip_ - tripUs;
    }
    ++echoes_;
    lastTrip_ = tripUs;
    tripSum_ += tripUs;
    counts_.Add(tripUs);
}

void TRunFigures::AddSleep(const TSleep& sleep)
{
    asleep_ += sleep.Length();
    lastSleep_ = sleep;
}

std::uint32_t TRunFigures::Percentile95() const
{
    // ceil(0.95 n) in whole numbers.
    return counts_.AtRank((echoes_ * 95 + 99) / 100);
}

std::size_t TRunFigures::HeldBytes() const
{
    return sizeof *this + counts_.HeldBytes();
}
