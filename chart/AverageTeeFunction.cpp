#include "chart/AverageTeeFunction.h"

#include "chart/ChartSeries.h"

#include <algorithm>

void TAverageTeeFunction::AddPoints(TChartSeries& source, TChartSeries& target)
{
    const int count = source.Count();
    if (Period() == 0) {
        // A line series cannot show one value: two points make the line.
        const double mean = source.YValues().Total() / count;
        target.InsertPoint(source.XValues().MinValue(), mean);
        target.InsertPoint(source.XValues().MaxValue(), mean);
        return;
    }
    int first = 0;
    if (PeriodStyle == psNumPoints) {
        const int size = Period() < 1 ? 1 : static_cast<int>(Period());
        for (; first < count; first += size)
            AddGroup(source, target, first, std::min(first + size, count) - 1);
        return;
    }
    const TChartValueList& x = source.XValues();
    while (first < count) {
        const double end = x[first] + Period();
        int last = first;
        while (last + 1 < count && x[last + 1] < end)
            ++last;
        AddGroup(source, target, first, last);
        first = last + 1;
    }
}

void TAverageTeeFunction::AddGroup(TChartSeries& source, TChartSeries& target, int first, int last)
{
    double sum = 0;
    for (int i = first; i <= last; ++i)
        sum += source.YValues()[i];
    const TChartValueList& x = source.XValues();
    double at = PeriodAlign == paFirst ? x[first]
              : PeriodAlign == paLast  ? x[last]
                                       : (x[first] + x[last]) / 2;
    target.InsertPoint(at, sum / (last - first + 1));
}
