// TChartFeed: the response-time chart as a view of a monitoring run. Each
// listed echo reply moves the data series (series 0) along with the reply
// list, oldest point out, new point in, and the average series (series 1)
// is recomputed once both are done; "Clear Data" empties the data series;
// each error reply marks a failed ping after the newest point.
// It also carries the run's colours and view to the chart. Portable; GUI
// thread only.
#pragma once

#include "console/MonitorRun.h"

class TChart;

class TChartFeed : public TMonitorRunObserver {
public:
    explicit TChartFeed(TChart& chart) : chart_(chart) {}

    void EchoAdded(const TMonitorRun& run, const TEchoChange& change) override;
    void EchoesCleared(const TMonitorRun& run) override;
    // A failed ping: a mark after the newest point.
    void ErrorAdded(const TMonitorRun& run, const TRowChange& change) override;
    void DataColorChanged(const TMonitorRun& run) override;
    void AverageColorChanged(const TMonitorRun& run) override;
    void View3DChanged(const TMonitorRun& run) override;

private:
    TChart& chart_;
};
