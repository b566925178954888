// TChartFeed: the response-time chart as a view of a monitoring run. Each
// listed echo moves the data series (series 0) along with the reply list,
// oldest point out, new point in at (its echo number, its trip time), and
// the average series (series 1) is recomputed once both are done; "Clear
// Data" empties the data series; each failure marks a failed ping after
// the newest point. It also carries the run's colours and view to the
// chart. Portable; GUI thread only.
#pragma once

#include "monitor/MonitorRun.h"

class TChart;

class TChartFeed : public TMonitorRunObserver {
public:
    explicit TChartFeed(TChart& chart) : chart_(chart) {}

    void EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void EchoesCleared(const TMonitorRun& run) override;
    void FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void DataColorChanged(const TMonitorRun& run) override;
    void AverageColorChanged(const TMonitorRun& run) override;
    void View3DChanged(const TMonitorRun& run) override;

private:
    TChart& chart_;
};
