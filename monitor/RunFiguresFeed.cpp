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
    figures_.AddEcho(record.TripUs, {record.Ended(), record.Filed});
}

void TRunFiguresFeed::FailureAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    const TDuration trip(record.TripUs);
    figures_.AddFailure(record.Reply.Kind, {record.Sent, record.Filed.Before(trip)});
}

void TRunFiguresFeed::NotSentAdded(const TMonitorRun&, const TPingRecord&)
{
    figures_.AddNotSent();
}

void TRunFiguresFeed::EchoesCleared(const TMonitorRun& run)
{
    figures_.Start(run.Now());
}
