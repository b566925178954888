#include "history/HistoryReplay.h"

#include <algorithm>

THistoryOutage HistoryOutageOf(const TOutage& o, const TClockReading& end)
{
    THistoryOutage h;
    h.From = o.Start.Mono;
    h.FromWall = o.Start.Wall;
    h.To = o.Closed ? o.End.Mono : end.Mono;
    h.ToWall = o.Closed ? o.End.Wall : end.Wall;
    h.Lost = o.Lost;
    h.TimeOuts = (o.Kinds & fkTimeOut) != 0;
    h.Unreachable = (o.Kinds & fkUnreachable) != 0;
    h.TtlExceeded = (o.Kinds & fkTTLExceeded) != 0;
    h.OtherFailures = (o.Kinds & fkOther) != 0;
    return h;
}

THistoryReplay::THistoryReplay()
{
    model_.SetRepeating(true, {});
}

void THistoryReplay::StepBack()
{
    for (const TOutage& o : model_.Outages())
        found_.push_back(HistoryOutageOf(o, last_));
    model_.Start({});
    model_.SetRepeating(true, {});
}

void THistoryReplay::PingRead(const TPingRecord& record)
{
    if (record.Sent < last_.Mono)
        StepBack();
    last_ = {record.Ended(), record.Filed};
    model_.AddPing(record);
}

void THistoryReplay::SleepRead(const TSleep& sleep)
{
    if (sleep.Begin.Mono < last_.Mono)
        StepBack();
    last_ = sleep.End;
    model_.AddSleep(sleep);
}

std::vector<THistoryOutage> THistoryReplay::Outages(TInstant from, TInstant to) const
{
    std::vector<THistoryOutage> found;
    auto take = [&](const THistoryOutage& o) {
        if (o.From < to && o.To > from)
            found.push_back(o);
    };
    std::for_each(found_.begin(), found_.end(), take);
    for (const TOutage& o : model_.Outages())
        take(HistoryOutageOf(o, last_));
    std::sort(found.begin(), found.end(), [](const THistoryOutage& a, const THistoryOutage& b) { return a.From < b.From; });
    return found;
}
