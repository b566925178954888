// TChartPainter: draws a TChart into any device context (the control's back
// buffer, a memory bitmap, a test's offscreen DC) at a given size. Keeps the
// label fonts between paints; holds nothing else of the chart's.
// GUI thread only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "chart/AxisScale.h"
#include "chart/Chart.h"
#include "chart/ChartLayout.h"
#include "chart/SeriesPath.h"

class TChartPainter {
public:
    TChartPainter();
    ~TChartPainter();
    TChartPainter(const TChartPainter&) = delete;
    TChartPainter& operator=(const TChartPainter&) = delete;

    TNumberSeparators Separators;

    // Paints the whole chart into the rectangle (0, 0, width, height) of dc.
    // The rubber band, if any, is drawn over everything.
    void Paint(HDC dc, const TChart& chart, int width, int height,
               const std::optional<TPixelRect>& rubberBand = std::nullopt);

    // Where things go for this size, with the fonts measured on dc.
    TChartLayout Layout(HDC dc, const TChart& chart, int width, int height);

    // A 1-pixel line through the path in the pen selected into dc, its last
    // pixel included; a path of fewer than two points draws nothing.
    static void DrawPath(HDC dc, const std::vector<TPixelPoint>& path, COLORREF color);

private:
    struct CachedFont {
        std::string name;
        int size = 0, pixelsPerInch = 0;
        HFONT handle = nullptr;
    };
    HFONT FontFor(HDC dc, const TChartFont& font, CachedFont& cache);
    void PaintBackground(HDC dc, const TChart& chart, int width, int height);
    void PaintWalls(HDC dc, const TChartLayout& l);
    void PaintSeries(HDC dc, const TChart& chart, const TChartLayout& l);
    void PaintLabels(HDC dc, const TChart& chart, const TChartLayout& l, int width);

    CachedFont leftFont_, bottomFont_;
};
