#include "monitor/RunFiguresFeed.h"

TRunFiguresFeed::TRunFiguresFeed(TMonitorRun& run) : run_(run), figures_(run.Now()), link_(run.Now())
{
    link_.SetOptions(run.AlertOptions());
    link_.SetRepeating(run.Repeating(), run.Now());
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
    figures_.AddEcho(record.TripUs);
    link_.AddPing(record);
}

void TRunFiguresFeed::FailureAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    if (record.HeldUp)
        return;
    figures_.AddFailure();
    link_.AddPing(record);
}

void TRunFiguresFeed::NotSentAdded(const TMonitorRun&, const TPingRecord&)
{
    figures_.AddNotSent();
}

void TRunFiguresFeed::SleepAdded(const TMonitorRun&, const TSleep& sleep)
{
    figures_.AddSleep(sleep);
    link_.AddSleep(sleep);
}

void TRunFiguresFeed::EchoesCleared(const TMonitorRun& run)
{
    figures_.Start(run.Now());
    link_.Start(run.Now());
}

void TRunFiguresFeed::RepeatChanged(const TMonitorRun& run)
{
    link_.SetRepeating(run.Repeating(), run.Now());
}

void TRunFiguresFeed::AlertOptionsChanged(const TMonitorRun& run)
{
    link_.SetOptions(run.AlertOptions());
}
