// TChartPainter: draws a TChart into any device context (a window, a memory
// bitmap, a test's offscreen DC) at a given size. It composes the picture in
// a 32-bit bitmap of its own (kept while the size stays, so it is also the
// control's back buffer) and copies it out with BitBlt. Owns that bitmap, its
// DC and the label fonts through the toolkit's handles; holds nothing of the
// chart's. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "chart/AxisScale.h"
#include "chart/Chart.h"
#include "chart/ChartLayout.h"
#include "chart/FailureBands.h"
#include "chart/PixelCanvas.h"
#include "chart/SeriesPath.h"
#include "toolkit/Handles.h"

class TChartPainter {
public:
    TChartPainter() = default;
    TChartPainter(const TChartPainter&) = delete;
    TChartPainter& operator=(const TChartPainter&) = delete;

    txt::NumberSeparators Separators;
    // The DPI of the window painted in: fonts, lines and depth follow it.
    tk::Scale Scale;

    // Paints the whole chart into the rectangle (0, 0, width, height) of dc.
    // The rubber band, if any, is drawn over everything.
    void Paint(HDC dc, const TChart& chart, int width, int height,
               const std::optional<TPixelRect>& rubberBand = std::nullopt);
    // The two halves of Paint: compose the picture in the bitmap, and copy
    // a part of it out (a window's paint rectangle).
    void Draw(const TChart& chart, int width, int height, const std::optional<TPixelRect>& rubberBand = std::nullopt);
    void CopyTo(HDC dc, const RECT& area) const;
    // True if the bitmap holds a picture drawn at this size.
    bool HasPicture(int width, int height) const
    {
        return drawn_ && canvas_.Width == width && canvas_.Height == height;
    }

    // Makes the bitmap the picture is composed in (a window's back buffer)
    // ready for this size; Paint does it too when the size has changed.
    bool PrepareBuffer(int width, int height) { return EnsureBuffer(width, height); }

    // Where things go for this size (the picture Paint draws).
    TChartLayout Layout(const TChart& chart, int width, int height);

private:
    struct CachedFont {
        std::string name;
        int size = 0, pixelsPerInch = 0;
        unsigned style = 0;
        tk::Font handle;
    };
    HFONT FontFor(const TChartFont& font, CachedFont& cache);
    bool EnsureBuffer(int width, int height);
    void PaintBackground(const TChart& chart);
    void PaintWalls(const TChartLayout& l);
    void PaintSeries(const TChart& chart, const TChartLayout& l);
    // Failed pings along the bottom of the plot, under the lines; nothing
    // at all while there are none.
    void PaintFailureMarks(const TChart& chart, const TChartLayout& l);
    void PaintLabels(const TChart& chart, const TChartLayout& l);

    bool EnsureDC();
    // A label's width in the DC's font, remembered: the axes measure the
    // same few labels at every repaint.
    int TextWidth(HFONT font, const std::string& text);
    std::map<std::pair<HFONT, std::string>, int> widths_;

    // Destroyed in this order: the DC before the bitmap selected into it.
    tk::Bitmap bitmap_;
    tk::MemoryDC dc_;
    TPixelCanvas canvas_;
    bool drawn_ = false;
    CachedFont leftFont_, bottomFont_;
    // The background tile at Scale, made again when the DPI changes.
    struct ScaledTile {
        const tk::Picture* source = nullptr;
        int dpi = 0;
        tk::Picture picture;
    } tile_;
    const tk::Picture& TileAtScale(const tk::Picture& image);
    // The last path of each series: repaints of unchanged data (a window
    // uncovered, a rubber band dragged) skip the walk over the points.
    struct CachedPath {
        const TChartSeries* series = nullptr;
        std::uint64_t stamp = 0;
        TAxisMap x, y;
        std::vector<TPixelPoint> path;
    };
    std::vector<CachedPath> paths_;
    const std::vector<TPixelPoint>& PathOf(const TChartSeries& series, std::size_t slot, const TChartLayout& l);
    // The failure marks' bands, likewise, until the marks, the data series or
    // the X axis move.
    struct CachedBands {
        std::uint64_t marks = 0, data = 0;
        TAxisMap x;
        TPixelRect plot;
        std::vector<TMarkBand> bands;
    } bands_;
};
