// TAverageTeeFunction: the mean of the source's Y values. With Period 0 it
// spans the source as a flat line from its smallest to its largest X; with a
// positive Period it gives one mean per group of points (or per X range).
#pragma once

#include "chart/TeeFunction.h"

class TAverageTeeFunction : public TTeeFunction {
protected:
    void AddPoints(TChartSeries& source, TChartSeries& target) override;

private:
    void AddGroup(TChartSeries& source, TChartSeries& target, int first, int last);
};
