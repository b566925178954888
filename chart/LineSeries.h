// TCustomSeries adds the point markers of a series drawn as connected points;
// TLineSeries is such a series drawn as line segments between consecutive
// points (so one point alone shows nothing).
#pragma once

#include "chart/ChartSeries.h"

enum TSeriesPointerStyle { psRectangle, psCircle, psTriangle };

class TCustomSeries : public TChartSeries {
public:
    struct {
        bool Visible = false;
        TSeriesPointerStyle Style = psRectangle;
    } Pointer;
};

class TLineSeries : public TCustomSeries {
public:
    TLineSeries()
    {
        XValues().Order = loAscending;
        YValues().Order = loNone;
    }
};
