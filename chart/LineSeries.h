// TCustomSeries: a series drawn as connected points, with the settings of
// its point markers; TLineSeries is such a series drawn as line segments
// between consecutive points (so one point alone shows nothing).
#pragma once

#include "chart/ChartSeries.h"

enum TSeriesPointerStyle { psRectangle, psCircle, psTriangle };

class TCustomSeries : public TChartSeries {
public:
    // Recorded as the window's stored design gives them; no markers are drawn.
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
