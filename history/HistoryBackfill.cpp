#include "history/HistoryBackfill.h"

THistoryBackfill::THistoryBackfill(THistoryBins& bins, TClockReading runStart)
    : bins_(bins), endUtcMs_(runStart.Wall.UtcMs),
      shift_(runStart.Mono - HistoryReplayReading(runStart.Wall).Mono)
{
}

// A reader a file: days read newest first are no one timeline.
void THistoryBackfill::BeginFile()
{
    reader_ = THistoryReader();
    reader_.SetEnd(endUtcMs_);
}

THistoryReadCounts THistoryBackfill::Read(std::string_view lines)
{
    return reader_.Read(lines, *this);
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
    if (replay_) {
        record_.Reply = record.Reply;
        record_.Host = record.Host;
        replay_->PingRead(record_);
    }
}

void THistoryBackfill::SleepRead(const TSleep& sleep)
{
    const TSleep shifted{{Shifted(sleep.Begin.Mono), sleep.Begin.Wall}, {Shifted(sleep.End.Mono), sleep.End.Wall}};
    bins_.AddSleep(shifted);
    if (replay_)
        replay_->SleepRead(shifted);
}
