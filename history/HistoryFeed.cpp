#include "history/HistoryFeed.h"

THistoryFeed::THistoryFeed(TMonitorRun& run, TUtf8Converter toUtf8)
    : run_(run), started_(run.Now()), bins_(started_, THistoryBins::MaxMinutes), writer_(std::move(toUtf8))
{
    run_.Subscribe(*this);
}

THistoryFeed::~THistoryFeed()
{
    run_.Unsubscribe(*this);
}

void THistoryFeed::EchoAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    Add(record);
}

void THistoryFeed::FailureAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    Add(record);
}

void THistoryFeed::SleepAdded(const TMonitorRun& run, const TSleep& sleep)
{
    bins_.AddSleep(sleep);
    if (!sink_)
        return;
    writer_.AddSleep(sleep, run.Host());
    HandOn(sleep.End.Wall);
}

void THistoryFeed::Add(const TPingRecord& record)
{
    bins_.AddPing(record);
    if (sink_ && writer_.AddPing(record))
        HandOn(record.Filed);
}

void THistoryFeed::HandOn(const TWallStamp& filed)
{
    const TCivilTime day = HistoryFileDay(filed);
    writer_.HandOn([&](std::string_view rows) { sink_(day, rows); });
}
