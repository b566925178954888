#include "monitor/LinkModel.h"

#include <algorithm>
#include <bit>
#include <utility>

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

bool TLinkModel::TFlaps::Begin(const TClockReading& start, bool pause)
{
    while (!starts.empty() && starts.front().Mono <= start.Mono - FlapWindow)
        starts.pop_front();
    starts.push_back(start);
    if (on) {
        ++periods;
        return held = true;
    }
    on = pause && static_cast<int>(starts.size()) >= FlapPeriods;
    if (on) {
        periods = static_cast<int>(starts.size());
        first = starts.front();
    }
    return held = false;
}

TLinkModel::TLinkModel(TClockReading start) : start_(start), upSince_(start.Mono) {}

void TLinkModel::Start(TClockReading now)
{
    TLinkModel fresh(now);
    fresh.options_ = options_;
    fresh.onAlert_ = std::move(onAlert_);
    fresh.onChange_ = std::move(onChange_);
    fresh.repeating_ = repeating_;
    fresh.told_ = told_;
    *this = std::move(fresh);
    Enter(TLinkState::Starting, now);
}

void TLinkModel::SetRepeating(bool repeating, TClockReading now)
{
    if (Down())
        CloseOutage(now, false);
    if (slow_)
        EndSlow(now, false);
    Restart(now);
    repeating_ = repeating;
    Enter(TLinkState::Starting, now);
}

// From no state: what came before says nothing of what comes now.
void TLinkModel::Restart(TClockReading now)
{
    starting_ = true;
    graceUntil_.reset();
    echoesInRow_ = failuresInRow_ = 0;
    steadyPings_ = SteadyPings;
    kinds_ = 0;
    upSince_ = now.Mono;
    aboveFlags_ = 0;
    judgedAt_.clear();
    outageFlaps_ = {};
    slowFlaps_ = {};
}

void TLinkModel::AddSleep(const TSleep& sleep)
{
    Enter(TLinkState::Asleep, sleep.Begin);
    // A host down before the sleep stays one outage while it still fails.
    if (Down())
        outages_.back().Slept += sleep.Length();
    if (slow_)
        EndSlow(sleep.Begin, false);
    Restart(sleep.End);
    graceUntil_ = sleep.End.Mono + GraceAfterSleep;
    Enter(TLinkState::Starting, sleep.End);
}

void TLinkModel::AddPing(const TPingRecord& record)
{
    if (record.Outcome == TPingOutcome::NotSent || record.HeldUp)
        return;
    host_ = record.Host;
    const bool echo = record.Outcome == TPingOutcome::Echo;
    recent_.Add(record.Ended(), echo, record.TripUs);
    CheckSteady({record.Ended(), record.Filed});
    if (echo)
        AddEcho(record);
    else
        AddFailure(record);
    // Told once the state they speak of is in force: an icon shows it
    // before its balloon does.
    for (const TLinkAlert& alert : std::exchange(pending_, {}))
        if (onAlert_)
            onAlert_(alert);
}

void TLinkModel::AddFailure(const TPingRecord& record)
{
    const TClockReading sent{record.Sent, record.Filed.Before(TDuration(record.TripUs))};
    const std::uint8_t bit = FailureKindBit(record.Reply.Kind);
    echoesInRow_ = 0;
    steadyPings_ = 0;
    const bool grace = graceUntil_ && sent.Mono < *graceUntil_;
    if (Down()) {
        TOutage& o = outages_.back();
        ++o.Lost;
        o.Kinds |= bit;
        starting_ = starting_ && grace;
        return Judge(sent);
    }
    // Just after a sleep the network may still be coming back.
    if (grace)
        return;
    if (failuresInRow_++ == 0) {
        firstFailure_ = sent;
        kinds_ = 0;
    }
    kinds_ |= bit;
    if (failuresInRow_ < options_.DownAfter)
        return Judge(sent);
    BeginOutage();
    Judge(firstFailure_);
}

void TLinkModel::BeginOutage()
{
    if (outages_.size() == MaxOutageRecords)
        outages_.pop_front();
    outages_.push_back({firstFailure_, {}, static_cast<std::uint32_t>(failuresInRow_), kinds_, false, {}});
    ++outageCount_;
    starting_ = false;
    const bool wasOn = outageFlaps_.on;
    if (outageFlaps_.Begin(firstFailure_, options_.PauseWhenFlapping))
        return;
    TLinkAlert alert;
    alert.Since = firstFailure_;
    if (!wasOn && outageFlaps_.on) {
        alert.Kind = TLinkAlert::TKind::KeepsDropping;
        alert.Count = outageFlaps_.periods;
        alert.Since = outageFlaps_.first;
        // Its own way back up is held as well.
        outageFlaps_.held = true;
    } else {
        alert.Count = failuresInRow_;
        alert.Kinds = kinds_;
    }
    Raise(alert);
}

void TLinkModel::CloseOutage(const TClockReading& end, bool told)
{
    TOutage& o = outages_.back();
    o.Closed = true;
    o.End = end;
    if (!longestClosed_ || o.Duration({}) > longestClosed_->Duration({}))
        longestClosed_ = o;
    outageFlaps_.lastEnd = end;
    if (!told || outageFlaps_.held)
        return;
    TLinkAlert alert;
    alert.Kind = TLinkAlert::TKind::Up;
    alert.Since = o.Start;
    alert.Until = end;
    alert.Length = o.Duration({});
    Raise(alert);
}

void TLinkModel::AddEcho(const TPingRecord& record)
{
    const TClockReading arrival{record.Ended(), record.Filed};
    failuresInRow_ = 0;
    steadyPings_ = std::min(steadyPings_ + 1, static_cast<int>(SteadyPings));
    graceUntil_.reset();
    if (echoesInRow_++ == 0)
        firstEcho_ = arrival;
    ++echoes_;
    const bool wasSlow = slow_;
    JudgeSlow(arrival, record.TripUs);
    if (echoesInRow_ >= options_.UpAfter && (Down() || starting_)) {
        if (Down())
            CloseOutage(firstEcho_, true);
        starting_ = false;
        upSince_ = firstEcho_.Mono;
        return Judge(firstEcho_);
    }
    Judge(slow_ && !wasSlow ? slowSince_ : !slow_ && wasSlow ? firstNormal_ : arrival);
}

std::uint32_t TLinkModel::SlowThresholdUs() const
{
    if (slow_)
        return frozenThresholdUs_;
    if (options_.SlowAbove == TAlertOptions::SlowOff || echoes_ < BaselineEchoes || baseline_.Count() == 0)
        return 0;
    if (options_.SlowAbove > 0)
        return static_cast<std::uint32_t>(options_.SlowAbove) * 1000u;
    const std::uint64_t usual = baseline_.Median();
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(std::max(4 * usual, usual + 100000), UINT32_MAX));
}

void TLinkModel::JudgeSlow(const TClockReading& arrival, std::uint32_t tripUs)
{
    if (slow_) {
        // The usual time stays frozen: slowness cannot raise its own bar.
        if (tripUs > frozenThresholdUs_) {
            normalInRow_ = 0;
        } else if (normalInRow_++ == 0) {
            firstNormal_ = arrival;
        }
        if (normalInRow_ >= SlowWindow)
            EndSlow(firstNormal_, true);
        return;
    }
    const std::uint32_t threshold = SlowThresholdUs();
    if (threshold != 0) {
        aboveFlags_ = static_cast<std::uint8_t>(((aboveFlags_ << 1) | (tripUs > threshold ? 1 : 0)) & 0x1F);
        judgedAt_.push_back(arrival);
        if (judgedAt_.size() > SlowWindow)
            judgedAt_.pop_front();
        if (std::popcount(aboveFlags_) >= SlowOf) {
            // Since the oldest of the slow echoes among the last five.
            const int oldest = std::bit_width(aboveFlags_) - 1;
            slowSince_ = judgedAt_[judgedAt_.size() - 1 - static_cast<std::size_t>(oldest)];
            slow_ = true;
            usualUs_ = baseline_.Median();
            frozenThresholdUs_ = threshold;
            normalInRow_ = 0;
            if (slowFlaps_.Begin(slowSince_, options_.PauseWhenFlapping))
                return;
            TLinkAlert alert;
            alert.Kind = slowFlaps_.on ? TLinkAlert::TKind::KeepsSlowing : TLinkAlert::TKind::Slow;
            alert.Since = slowFlaps_.on ? slowFlaps_.first : slowSince_;
            alert.Count = slowFlaps_.periods;
            alert.TripUs = tripUs;
            alert.UsualUs = usualUs_;
            slowFlaps_.held = slowFlaps_.on;
            return Raise(alert);
        }
    }
    baseline_.Add(arrival.Mono, tripUs);
}

void TLinkModel::EndSlow(const TClockReading& end, bool told)
{
    slow_ = false;
    aboveFlags_ = 0;
    judgedAt_.clear();
    normalInRow_ = 0;
    slowFlaps_.lastEnd = end;
    if (!told || slowFlaps_.held)
        return;
    TLinkAlert alert;
    alert.Kind = TLinkAlert::TKind::FastAgain;
    alert.Since = slowSince_;
    alert.Until = end;
    alert.Length = end.Mono - slowSince_.Mono;
    Raise(alert);
}

// Ten minutes without a new period end the pause, with one word of it.
void TLinkModel::CheckSteady(const TClockReading& now)
{
    for (TFlaps* flaps : {&outageFlaps_, &slowFlaps_}) {
        const bool open = flaps == &outageFlaps_ ? Down() : slow_;
        if (!flaps->on || open || now.Mono - flaps->lastEnd.Mono < FlapWindow)
            continue;
        TLinkAlert alert;
        alert.Kind = TLinkAlert::TKind::SteadyAgain;
        alert.Since = flaps->first;
        alert.Until = flaps->lastEnd;
        alert.Count = flaps->periods;
        alert.SlowPeriods = flaps == &slowFlaps_;
        *flaps = {};
        Raise(alert);
    }
}

void TLinkModel::Judge(const TClockReading& at)
{
    const TLinkState state = starting_       ? TLinkState::Starting
                             : Down()        ? TLinkState::Down
                             : slow_         ? TLinkState::Slow
                             : steadyPings_ < SteadyPings ? TLinkState::Unstable
                                                          : TLinkState::Up;
    Enter(state, at);
}

void TLinkModel::Enter(TLinkState state, const TClockReading& at)
{
    state_ = state;
    const TLinkState shown = State();
    if (shown == told_)
        return;
    told_ = shown;
    if (onChange_)
        onChange_({shown, at});
}

void TLinkModel::Raise(TLinkAlert alert)
{
    alert.Host = host_;
    pending_.push_back(std::move(alert));
}

TLinkState TLinkModel::Shown() const
{
    const TLinkState state = State();
    const bool judged = state == TLinkState::Up || state == TLinkState::Unstable || state == TLinkState::Down;
    return outageFlaps_.on && judged ? TLinkState::Unstable : state;
}

std::optional<TOutage> TLinkModel::Longest(TInstant now) const
{
    const TOutage* open = OpenOutage();
    if (open && (!longestClosed_ || open->Duration(now) > longestClosed_->Duration({})))
        return *open;
    return longestClosed_;
}
