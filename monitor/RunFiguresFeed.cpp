#include "monitor/RunFiguresFeed.h"

TRunFiguresFeed::TRunFiguresFeed(TMonitorRun& run) : run_(run), figures_(run.Now())
{
    run_.Subscribe(*this);
}

TRunFiguresFeed::~TRunFiguresFeed()
{
    run_.Unsubscribe(*this);
}

void TRunFiguresFeed::EchoAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    if (record.HeldUp)
        return;
    figures_.AddEcho(record.TripUs, {record.Ended(), record.Filed});
}

void TRunFiguresFeed::FailureAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    if (record.HeldUp)
        return;
    const TDuration trip(record.TripUs);
    figures_.AddFailure(record.Reply.Kind, {record.Sent, record.Filed.Before(trip)});
}

void TRunFiguresFeed::NotSentAdded(const TMonitorRun&, const TPingRecord&)
{
    figures_.AddNotSent();
}

void TRunFiguresFeed::SleepAdded(const TMonitorRun&, const TSleep& sleep)
{
    figures_.AddSleep(sleep);
}

void TRunFiguresFeed::EchoesCleared(const TMonitorRun& run)
{
    figures_.Start(run.Now());
}
