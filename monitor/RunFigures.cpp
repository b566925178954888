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
    graceUntil_.reset();
    if (Down()) {
        CloseOutage(arrival);
        upSince_ = arrival.Mono;
    }
}

void TRunFigures::CloseOutage(const TClockReading& end)
{
    TOutage& o = outages_.back();
    o.Closed = true;
    o.End = end;
    if (!longestClosed_ || o.Duration({}) > longestClosed_->Duration({}))
        longestClosed_ = o;
}

void TRunFigures::AddSleep(const TSleep& sleep)
{
    if (Down())
        CloseOutage(sleep.Begin);
    // Up time starts again on waking: the host's state while asleep is unknown.
    upSince_ = sleep.End.Mono;
    asleep_ += sleep.Length();
    lastSleep_ = sleep;
    graceUntil_ = sleep.End.Mono + GraceAfterSleep;
}

void TRunFigures::AddFailure(TReplyStatusKind kind, TClockReading sent)
{
    ++failures_;
    if (InGrace(sent.Mono))
        return;
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
