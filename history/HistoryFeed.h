// THistoryFeed: the history as a view of a monitoring run: every listed
// echo, every failure (held-up waits too, which the bins count apart) and
// every sleep go into its minute bins from the run's start, across "Clear
// Data"; while a row sink is set ("Keep history" on), each also becomes a
// history file's row, handed on with the local day whose file takes it.
// The run must outlive it. Portable; GUI thread only.
#pragma once

#include <functional>
#include <string_view>

#include "history/HistoryBins.h"
#include "history/HistoryFile.h"
#include "monitor/MonitorRun.h"

class THistoryFeed : private TMonitorRunObserver {
public:
    using TRowSink = std::function<void(const TCivilTime& day, std::string_view rows)>;

    THistoryFeed(TMonitorRun& run, TUtf8Converter toUtf8);
    ~THistoryFeed();
    THistoryFeed(const THistoryFeed&) = delete;
    THistoryFeed& operator=(const THistoryFeed&) = delete;

    // Rows go to `sink` from now on; an empty sink stops them.
    void SetRowSink(TRowSink sink) { sink_ = std::move(sink); }
    const THistoryBins& Bins() const { return bins_; }
    // The run's clock when the feed began: the files' rows before it are
    // earlier runs' (THistoryBackfill), and the bins reach 31 days back.
    TClockReading Started() const { return started_; }
    // For the link model's judgement and the clock's advance.
    THistoryBins& Bins() { return bins_; }

private:
    void EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void SleepAdded(const TMonitorRun& run, const TSleep& sleep) override;
    void Add(const TPingRecord& record);
    void HandOn(const TWallStamp& filed);

    TMonitorRun& run_;
    TClockReading started_;
    THistoryBins bins_;
    THistoryWriter writer_;
    TRowSink sink_;
};
