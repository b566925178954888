// THistoryService: the run's history, as start-up makes it: the minute bins
// (THistoryFeed) with the link model's down and slow time, "Keep history"
// following the run's history options (THistoryKeeper), the History window
// with the live model's outages and, for earlier runs' files, the outages a
// replay of their pings through a link model of its own finds. Made before
// the windows, from the run and its figures, which must outlive it. GUI
// thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/HistoryKeeper.h"
#include "history/HistoryReplay.h"
#include "monitor/RunFiguresFeed.h"
#include "toolkit/Timer.h"

class THistoryService : private TMonitorRunObserver {
public:
    // Hears, once, that the history folder could not be written and history went off.
    using TStopped = std::function<void(const std::wstring& folder, unsigned long error)>;

    THistoryService(TMonitorRun& run, TRunFiguresFeed& figures);
    ~THistoryService();
    THistoryService(const THistoryService&) = delete;
    THistoryService& operator=(const THistoryService&) = delete;

    void OnStopped(TStopped handler) { stopped_ = std::move(handler); }
    void ShowWindow();

private:
    void EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void SleepAdded(const TMonitorRun& run, const TSleep& sleep) override;
    void RepeatChanged(const TMonitorRun& run) override;
    void EchoesCleared(const TMonitorRun& run) override;
    void HistoryOptionsChanged(const TMonitorRun& run) override;

    void FollowLink(TInstant now);
    void Failed(const std::wstring& folder, unsigned long error);
    std::vector<THistoryOutage> Outages(TInstant from, TInstant to) const;

    TMonitorRun& run_;
    TRunFiguresFeed& figures_;
    THistoryFeed feed_;
    THistoryKeeper keeper_;
    TStopped stopped_;
    tk::Timer turnOff_{nullptr};
    THistoryLinkState shown_ = THistoryLinkState::Other;
    THistoryReplay replay_;
};
