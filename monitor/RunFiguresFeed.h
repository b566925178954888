// TRunFiguresFeed: the run figures and the link model as views of a
// monitoring run, built from its records as they come: every listed echo
// (not the one "Ignore first ping" drops), every failure, every ping that
// sent nothing and every sleep; a ping whose wait was held up measured
// nothing and is left out. "Clear Data" (at start-up, by the button, and
// when repeat pinging starts with "Clear logs on start") starts a new run;
// starting or stopping repeat pinging starts the link's judgement afresh.
// It follows the run from its construction to its destruction; the run must
// outlive it. Portable; GUI thread only.
#pragma once

#include "monitor/LinkModel.h"
#include "monitor/MonitorRun.h"
#include "monitor/RunFigures.h"

class TRunFiguresFeed : private TMonitorRunObserver {
public:
    explicit TRunFiguresFeed(TMonitorRun& run);
    ~TRunFiguresFeed();
    TRunFiguresFeed(const TRunFiguresFeed&) = delete;
    TRunFiguresFeed& operator=(const TRunFiguresFeed&) = delete;

    const TRunFigures& Figures() const { return figures_; }
    const TLinkModel& Link() const { return link_; }
    // For the link's alerts and changes.
    TLinkModel& Link() { return link_; }
    // The run's clock now, for the figures that run on to this moment.
    TClockReading Now() const { return run_.Now(); }

private:
    void EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void NotSentAdded(const TMonitorRun& run, const TPingRecord& record) override;
    void SleepAdded(const TMonitorRun& run, const TSleep& sleep) override;
    void EchoesCleared(const TMonitorRun& run) override;
    void RepeatChanged(const TMonitorRun& run) override;
    void AlertOptionsChanged(const TMonitorRun& run) override;

    TMonitorRun& run_;
    TRunFigures figures_;
    TLinkModel link_;
};
