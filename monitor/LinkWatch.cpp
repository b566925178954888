#include "monitor/LinkWatch.h"

#include "monitor/RunFigures.h"

TLinkWatch::TLinkWatch(TMonitorRun& run) : run_(run)
{
    run_.Subscribe(*this);
}

TLinkWatch::~TLinkWatch()
{
    run_.Unsubscribe(*this);
}

void TLinkWatch::Restart()
{
    echoesInRow_ = failuresInRow_ = 0;
    kinds_ = 0;
    Enter(TLinkState::Unknown);
}

void TLinkWatch::Enter(TLinkState state)
{
    if (state == state_)
        return;
    state_ = state;
    if (onState_)
        onState_(state);
}

void TLinkWatch::Raise(const TLinkAlert& alert)
{
    if (onAlert_)
        onAlert_(alert);
}

void TLinkWatch::EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool)
{
    if (record.HeldUp)
        return;
    graceUntil_.reset();
    failuresInRow_ = 0;
    kinds_ = 0;
    if (echoesInRow_++ == 0)
        firstEcho_ = {record.Ended(), record.Filed};
    if (echoesInRow_ < run.AlertOptions().UpAfter || state_ == TLinkState::Up)
        return;
    // From no state (a run's start, after a sleep) it goes up quietly.
    const bool backUp = state_ == TLinkState::Down;
    Enter(TLinkState::Up);
    if (backUp)
        Raise({TLinkAlert::TKind::Up, run.Host(), downSince_, 0, 0, firstEcho_});
}

void TLinkWatch::FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool)
{
    if (record.HeldUp || (graceUntil_ && record.Sent < *graceUntil_))
        return;
    echoesInRow_ = 0;
    if (failuresInRow_++ == 0)
        firstFailure_ = {record.Sent, record.Filed.Before(TDuration(record.TripUs))};
    kinds_ |= FailureKindBit(record.Reply.Kind);
    if (state_ == TLinkState::Down)
        return;
    if (failuresInRow_ >= run.AlertOptions().DownAfter) {
        downSince_ = firstFailure_;
        Enter(TLinkState::Down);
        Raise({TLinkAlert::TKind::Down, run.Host(), downSince_, failuresInRow_, kinds_, {}});
    } else if (state_ == TLinkState::Up) {
        Enter(TLinkState::Unstable);
    }
}

void TLinkWatch::SleepAdded(const TMonitorRun&, const TSleep& sleep)
{
    Restart();
    graceUntil_ = sleep.End.Mono + TRunFigures::GraceAfterSleep;
}

void TLinkWatch::EchoesCleared(const TMonitorRun&)
{
    Restart();
}

void TLinkWatch::RepeatChanged(const TMonitorRun&)
{
    graceUntil_.reset();
    Restart();
}
