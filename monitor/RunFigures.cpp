#include "monitor/RunFigures.h"

std::uint8_t FailureKindBit(TReplyStatusKind kind)
{
    switch (kind) {
    case rsTimeOut:
        return fkTimeOut;
    case rsErrorUnreachable:
        return fkUnreachable;
    case rsErrorTTLExceeded:
        return fkTTLExceeded;
    default:
        return fkOther;
    }
}

void TRunFigures::Start(TClockReading now)
{
    // The counts' tree goes too; the next echo makes it again.
    *this = TRunFigures(now);
}

void TRunFigures::AddEcho(std::uint32_t tripUs, TClockReading arrival)
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
    if (Down()) {
        TOutage& o = outages_.back();
        o.Closed = true;
        o.End = arrival;
        if (!longestClosed_ || o.Duration({}) > longestClosed_->Duration({}))
            longestClosed_ = o;
        upSince_ = arrival.Mono;
    }
}

void TRunFigures::AddFailure(TReplyStatusKind kind, TClockReading sent)
{
    ++failures_;
    if (!Down()) {
        if (outages_.size() == MaxOutageRecords)
            outages_.pop_front();
        outages_.push_back({sent, {}, 0, 0, false});
        ++outageCount_;
    }
    TOutage& o = outages_.back();
    ++o.Lost;
    o.Kinds |= FailureKindBit(kind);
}

std::uint32_t TRunFigures::Percentile95() const
{
    // ceil(0.95 n) in whole numbers.
    return counts_.AtRank((echoes_ * 95 + 99) / 100);
}

std::optional<TOutage> TRunFigures::Longest(TInstant now) const
{
    const TOutage* open = OpenOutage();
    if (open && (!longestClosed_ || open->Duration(now) > longestClosed_->Duration({})))
        return *open;
    return longestClosed_;
}

std::size_t TRunFigures::HeldBytes() const
{
    return sizeof *this + counts_.HeldBytes() + outages_.size() * sizeof(TOutage);
}
