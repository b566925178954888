#include "chart/ResponseTimeChart.h"

#include <memory>

#include "chart/AverageTeeFunction.h"
#include "chart/LineSeries.h"

void BuildResponseTimeChart(TChart& chart)
{
    chart.BeginLoading();
    chart.BackImage = ChartBackgroundTile();
    chart.BackImageMode = pbmTile;
    chart.BackWall.BrushStyle = bsClear;
    chart.Legend.Visible = false;
    chart.Title.Visible = false;
    chart.BevelOuter = bvNone;
    chart.SetView3D(false);
    for (TChartAxis* axis : {&chart.LeftAxis, &chart.BottomAxis}) {
        axis->LabelsFont = TChartFont{"Arial", 8, 0x00FFFFFF, 0};
        axis->AxisValuesFormat = "#,##0.###";
    }
    chart.BottomAxis.TitleFont = TChartFont{"Arial", 8, 0x00FFFFFF, 0};

    TLineSeries& series1 = chart.AddSeries<TLineSeries>();
    series1.Name = "Series1";
    series1.SetSeriesColor(0x00CFC278);

    TLineSeries& series2 = chart.AddSeries<TLineSeries>();
    series2.Name = "Series2";
    series2.SetSeriesColor(0x0000FFFF);
    series2.SetFunction(std::make_unique<TAverageTeeFunction>());
    series2.SetDataSource(&series1);
    chart.EndLoading();
}
