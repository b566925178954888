#include "console/RunFigures.h"

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

void TRunFigures::Start(TLocalMs now)
{
    // The counts' tree goes too; the next echo makes it again.
    *this = TRunFigures(now);
}

void TRunFigures::AddEcho(std::uint32_t tripMs, TLocalMs arrival)
{
    if (echoes_ == 0) {
        minTrip_ = maxTrip_ = tripMs;
    } else {
        minTrip_ = tripMs < minTrip_ ? tripMs : minTrip_;
        maxTrip_ = tripMs > maxTrip_ ? tripMs : maxTrip_;
        jitterSum_ += tripMs > lastTrip_ ? tripMs - lastTrip_ : lastTrip_ - tripMs;
    }
    ++echoes_;
    lastTrip_ = tripMs;
    tripSum_ += tripMs;
    counts_.Add(tripMs);
    if (Down()) {
        TOutage& o = outages_.back();
        o.Closed = true;
        o.End = arrival;
        if (!longestClosed_ || o.Duration(0) > longestClosed_->Duration(0))
            longestClosed_ = o;
        upSince_ = arrival;
    }
}

void TRunFigures::AddFailure(TReplyStatusKind kind, TLocalMs sent)
{
    ++failures_;
    if (!Down()) {
        if (outages_.size() == MaxOutageRecords)
            outages_.pop_front();
        outages_.push_back({sent, 0, 0, 0, false});
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

std::optional<TOutage> TRunFigures::Longest(TLocalMs now) const
{
    const TOutage* open = OpenOutage();
    if (open && (!longestClosed_ || open->Duration(now) > longestClosed_->Duration(0)))
        return *open;
    return longestClosed_;
}

std::size_t TRunFigures::HeldBytes() const
{
    return sizeof *this + counts_.HeldBytes() + outages_.size() * sizeof(TOutage);
}
