#include "console/ReplyLog.h"

#include <utility>

TRowChange TReplyLog::AddEcho(double& echoCount, const TReplyStatus& reply, int limit, bool ignoreFirst)
{
    echoCount += 1;
    if (ignoreFirst && echoCount == 1)
        return {};
    TRowChange change;
    // One row per reply at most, so a lowered limit shrinks nothing.
    if (EchoRows() > limit) {
        tripTimeSum_ -= echoes_.back().TripTime;
        echoes_.pop_back();
        change.RemovedOldest = true;
    }
    echoes_.push_front(reply);
    tripTimeSum_ += reply.TripTime;
    change.Added = true;
    return change;
}

TRowChange TReplyLog::AddError(TErrorRow row, int limit, bool limitErrors)
{
    TRowChange change;
    if (limitErrors && ErrorRows() > limit) {
        errors_.pop_back();
        change.RemovedOldest = true;
    }
    errors_.push_front(std::move(row));
    change.Added = true;
    return change;
}

void TReplyLog::ClearEchoes()
{
    echoes_.clear();
    tripTimeSum_ = 0;
}

void TReplyLog::ClearErrors()
{
    errors_.clear();
}

double TReplyLog::AverageTripTime() const
{
    return echoes_.empty() ? 0.0 : static_cast<double>(tripTimeSum_) / static_cast<double>(echoes_.size());
}
