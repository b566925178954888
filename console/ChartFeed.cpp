#include "console/ChartFeed.h"

#include "chart/Chart.h"
#include "chart/ChartSeries.h"
#include "chart/TeeFunction.h"

namespace {
constexpr int kDataSeries = 0;
constexpr int kAverageSeries = 1;
} // namespace

void TChartFeed::EchoAdded(const TMonitorRun&, const TPingRecord& record, bool removedOldest)
{
    TChartSeries& data = *chart_.Series(kDataSeries);
    if (removedOldest)
        data.RemovePoint(0);
    data.InsertPoint(record.EchoNumber, static_cast<double>(record.Reply.TripTime));
    chart_.Series(kAverageSeries)->FunctionType()->Recompute();
}

void TChartFeed::EchoesCleared(const TMonitorRun&)
{
    // The average series empties with it.
    chart_.Series(kDataSeries)->ClearPoints();
}

void TChartFeed::FailureAdded(const TMonitorRun&, const TPingRecord&, bool)
{
    chart_.AddFailureMark();
}

void TChartFeed::DataColorChanged(const TMonitorRun& run)
{
    chart_.Series(kDataSeries)->SetSeriesColor(run.DataColor());
}

void TChartFeed::AverageColorChanged(const TMonitorRun& run)
{
    chart_.Series(kAverageSeries)->SetSeriesColor(run.AverageColor());
}

void TChartFeed::View3DChanged(const TMonitorRun& run)
{
    chart_.SetView3D(run.View3D());
}
