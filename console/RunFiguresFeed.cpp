#include "console/RunFiguresFeed.h"

void TRunFiguresFeed::EchoAdded(const TMonitorRun& run, const TEchoChange& change)
{
    if (change.Added)
        figures_.AddEcho(run.Echo(0).TripTime, clock_());
}

void TRunFiguresFeed::ErrorAdded(const TMonitorRun& run, const TRowChange&)
{
    // The new row is at the top, whatever trimming did at the bottom.
    const TReplyStatus& reply = run.Error(0).Reply;
    figures_.AddFailure(reply.Kind, clock_() - static_cast<TLocalMs>(reply.TripTime));
}

void TRunFiguresFeed::EchoesCleared(const TMonitorRun&)
{
    figures_.Start(clock_());
}
