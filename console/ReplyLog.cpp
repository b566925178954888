#include "console/ReplyLog.h"

TRowChange TReplyLog::AddEcho(double& echoCount, std::uint32_t tripTime, int limit, bool ignoreFirst)
{
    echoCount += 1;
    if (ignoreFirst && echoCount == 1)
        return {};
    TRowChange change;
    // One row per reply at most, so a lowered limit shrinks nothing.
    if (EchoRows() > limit) {
        tripTimeSum_ -= tripTimes_.back();
        tripTimes_.pop_back();
        change.RemovedOldest = true;
    }
    tripTimes_.push_front(tripTime);
    tripTimeSum_ += tripTime;
    change.Added = true;
    return change;
}

TRowChange TReplyLog::AddError(int limit, bool limitErrors)
{
    TRowChange change;
    if (limitErrors && errorRows_ > limit) {
        --errorRows_;
        change.RemovedOldest = true;
    }
    ++errorRows_;
    change.Added = true;
    return change;
}

void TReplyLog::ClearEchoes()
{
    tripTimes_.clear();
    tripTimeSum_ = 0;
}

void TReplyLog::ClearErrors()
{
    errorRows_ = 0;
}

double TReplyLog::AverageTripTime() const
{
    return tripTimes_.empty() ? 0.0 : static_cast<double>(tripTimeSum_) / static_cast<double>(tripTimes_.size());
}
