#include "history/HistoryBackfill.h"

THistoryBackfill::THistoryBackfill(THistoryBins& bins, TClockReading runStart)
    : bins_(bins), endUtcMs_(runStart.Wall.UtcMs),
      shift_(runStart.Mono - HistoryReplayReading(runStart.Wall).Mono)
{
}

THistoryReadCounts THistoryBackfill::Read(std::string_view bytes)
{
    // A reader a file: days read newest first are no one timeline.
    THistoryReader reader;
    reader.SetEnd(endUtcMs_);
    return reader.Read(bytes, *this);
}

void THistoryBackfill::PingRead(const TPingRecord& record)
{
    record_.Outcome = record.Outcome;
    record_.Reply.Kind = record.Reply.Kind;
    record_.TripUs = record.TripUs;
    record_.Sent = Shifted(record.Sent);
    record_.Filed = record.Filed;
    record_.HeldUp = record.HeldUp;
    bins_.AddPing(record_);
}

void THistoryBackfill::SleepRead(const TSleep& sleep)
{
    bins_.AddSleep({{Shifted(sleep.Begin.Mono), sleep.Begin.Wall}, {Shifted(sleep.End.Mono), sleep.End.Wall}});
}
