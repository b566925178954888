#include "console/MonitorRun.h"

#include <algorithm>
#include <utility>

#include "toolkit/NumberText.h"

TMonitorRun::TMonitorRun(TClock clock) : clock_(std::move(clock)) {}

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

TEchoChange TMonitorRun::AddEcho(const TReplyStatus& reply, int limit, bool ignoreFirst)
{
    FEchoCount += 1;
    if (ignoreFirst && FEchoCount == 1)
        return {};
    TEchoChange change;
    if (EchoRows() > limit) {
        tripTimeSum_ -= echoes_.back().TripTime;
        echoes_.pop_back();
        echoMoments_.pop_back();
        change.RemovedOldest = true;
    }
    echoes_.push_front(reply);
    echoMoments_.push_front(clock_());
    tripTimeSum_ += reply.TripTime;
    change.Added = true;
    change.X = FEchoCount;
    change.Y = static_cast<double>(reply.TripTime);
    for (TMonitorRunObserver* observer : observers_)
        observer->EchoAdded(*this, change);
    return change;
}

TRowChange TMonitorRun::AddError(TErrorRow row, int limit, bool limitErrors)
{
    TRowChange change;
    if (limitErrors && ErrorRows() > limit) {
        errors_.pop_back();
        change.RemovedOldest = true;
    }
    errors_.push_front(std::move(row));
    change.Added = true;
    for (TMonitorRunObserver* observer : observers_)
        observer->ErrorAdded(*this, change);
    return change;
}

void TMonitorRun::ClearData()
{
    echoes_.clear();
    echoMoments_.clear();
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

double TMonitorRun::AverageTripTime() const
{
    return echoes_.empty() ? 0.0 : static_cast<double>(tripTimeSum_) / static_cast<double>(echoes_.size());
}

std::string AverageTripTimeText(const TMonitorRun& run, const tk::NumberSeparators& separators)
{
    return tk::FormatQuotient(run.TripTimeSum(), static_cast<std::uint64_t>(run.EchoRows()), 2, separators);
}
