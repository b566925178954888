#include "monitor/MonitorRun.h"

#include <algorithm>
#include <utility>

#include "text/NumberText.h"

TMonitorRun::TMonitorRun(TRunClock clock) : clock_(std::move(clock)) {}

void TMonitorRun::Subscribe(TMonitorRunObserver& observer)
{
    observers_.push_back(&observer);
}

void TMonitorRun::Unsubscribe(TMonitorRunObserver& observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void TMonitorRun::Notify(void (TMonitorRunObserver::*event)(const TMonitorRun&))
{
    for (TMonitorRunObserver* observer : observers_)
        (observer->*event)(*this);
}

// One reading per record: it ended now, so it was sent a trip time ago.
TPingRecord TMonitorRun::Filed(TPingOutcome outcome, const TReplyStatus& reply, std::uint32_t tripUs) const
{
    const TClockReading now = clock_();
    TPingRecord record;
    record.Outcome = outcome;
    record.Reply = reply;
    record.TripUs = tripUs;
    record.Sent = now.Mono - TDuration(tripUs);
    record.Filed = now.Wall;
    return record;
}

bool TMonitorRun::AddReply(const TReplyStatus& reply, std::uint32_t tripUs, bool heldUp, const std::string& host,
                           const TListLimits& limits)
{
    // A reply read while the computer goes to sleep measured the sleep.
    if (Suspended())
        return false;
    const bool echo = reply.Kind == rsEcho;
    TPingRecord record = Filed(echo ? TPingOutcome::Echo : TPingOutcome::Failure, reply, tripUs);
    record.Host = host;
    record.HeldUp = heldUp;
    if (echo)
        return AddEcho(std::move(record), limits);
    AddFailure(std::move(record), limits);
    return true;
}

bool TMonitorRun::AddEcho(TPingRecord record, const TListLimits& limits)
{
    FEchoCount += 1;
    if (limits.IgnoreFirst && FEchoCount == 1)
        return false;
    const bool removedOldest = EchoRows() > limits.Lines;
    if (removedOldest) {
        tripTimeSum_ -= echoes_.back().Reply.TripTime;
        echoes_.pop_back();
    }
    record.EchoNumber = FEchoCount;
    tripTimeSum_ += record.Reply.TripTime;
    echoes_.push_front(std::move(record));
    for (TMonitorRunObserver* observer : observers_)
        observer->EchoAdded(*this, echoes_.front(), removedOldest);
    return true;
}

void TMonitorRun::AddFailure(TPingRecord record, const TListLimits& limits)
{
    const bool removedOldest = limits.LimitErrors && ErrorRows() > limits.Lines;
    if (removedOldest)
        errors_.pop_back();
    errors_.push_front(std::move(record));
    for (TMonitorRunObserver* observer : observers_)
        observer->FailureAdded(*this, errors_.front(), removedOldest);
}

void TMonitorRun::AddNotSent(const std::string& host, const std::string& message)
{
    if (Suspended())
        return;
    TPingRecord record = Filed(TPingOutcome::NotSent, TReplyStatus{}, 0);
    record.Host = host;
    record.Message = message;
    for (TMonitorRunObserver* observer : observers_)
        observer->NotSentAdded(*this, record);
}

void TMonitorRun::Suspend()
{
    if (!suspendedAt_)
        suspendedAt_ = clock_();
}

void TMonitorRun::Resume()
{
    if (!suspendedAt_)
        return;
    const TClockReading begin = *suspendedAt_;
    suspendedAt_.reset();
    AddSleep(begin);
}

void TMonitorRun::AddSleep(const TClockReading& begin)
{
    const TSleep sleep{begin, clock_()};
    for (TMonitorRunObserver* observer : observers_)
        observer->SleepAdded(*this, sleep);
}

void TMonitorRun::ClearData()
{
    echoes_.clear();
    tripTimeSum_ = 0;
    FEchoCount = 0;
    Notify(&TMonitorRunObserver::EchoesCleared);
}

void TMonitorRun::ClearErrors()
{
    errors_.clear();
    Notify(&TMonitorRunObserver::ErrorsCleared);
}

void TMonitorRun::PublishStatistics()
{
    Notify(&TMonitorRunObserver::StatisticsChanged);
}

void TMonitorRun::SetHost(const std::string& host)
{
    host_ = host;
    Notify(&TMonitorRunObserver::HostChanged);
}

void TMonitorRun::SetRepeating(bool repeating)
{
    repeating_ = repeating;
    Notify(&TMonitorRunObserver::RepeatChanged);
}

void TMonitorRun::SetDataColor(std::uint32_t color)
{
    dataColor_ = color;
    Notify(&TMonitorRunObserver::DataColorChanged);
}

void TMonitorRun::SetAverageColor(std::uint32_t color)
{
    averageColor_ = color;
    Notify(&TMonitorRunObserver::AverageColorChanged);
}

void TMonitorRun::SetView3D(bool view3D)
{
    view3D_ = view3D;
    Notify(&TMonitorRunObserver::View3DChanged);
}

void TMonitorRun::SetAlertOptions(const TAlertOptions& options)
{
    alertOptions_ = options;
    Notify(&TMonitorRunObserver::AlertOptionsChanged);
}

void TMonitorRun::SetHistoryOptions(const THistoryOptions& options)
{
    historyOptions_ = options;
    Notify(&TMonitorRunObserver::HistoryOptionsChanged);
}

double TMonitorRun::AverageTripTime() const
{
    return echoes_.empty() ? 0.0 : static_cast<double>(tripTimeSum_) / static_cast<double>(echoes_.size());
}

std::string AverageTripTimeText(const TMonitorRun& run, const txt::NumberSeparators& separators)
{
    return txt::FormatQuotient(run.TripTimeSum(), static_cast<std::uint64_t>(run.EchoRows()), 2, separators);
}
