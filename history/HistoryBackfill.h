// THistoryBackfill: the days of the history files before a run, read into
// that run's minute bins, newest first, one file a call, so a window can
// show its progress between files. A row's wall time becomes an instant of
// the run's clock as the run's start relates the two; rows from the run's
// start on are left out, since the run's own bins hold them already.
// Portable; GUI thread only.
#pragma once

#include <string_view>

#include "history/HistoryBins.h"
#include "history/HistoryReader.h"

class THistoryBackfill : private THistoryVisitor {
public:
    // `bins` must reach back before `runStart` (THistoryFeed's do).
    THistoryBackfill(THistoryBins& bins, TClockReading runStart);
    // One day's file, the newest not yet read: begun, then its bytes in
    // pieces of whole lines, in order.
    void BeginFile();
    THistoryReadCounts Read(std::string_view lines);
    // Each record and sleep, on the run's clock, also goes to `replay`: the
    // link model's replay of the file, which books its judgement in the
    // bins (AddLinkPeriod). It hears the day's file in order, a day at a
    // time, newest day first. Null: none.
    void SetReplay(THistoryVisitor* replay) { replay_ = replay; }

private:
    void PingRead(const TPingRecord& record) override;
    void SleepRead(const TSleep& sleep) override;
    TInstant Shifted(TInstant replayed) const { return replayed + shift_; }

    THistoryBins& bins_;
    THistoryReader reader_;
    std::int64_t endUtcMs_;
    TDuration shift_;
    TPingRecord record_;
    THistoryVisitor* replay_ = nullptr;
};
