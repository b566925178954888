// TChart: the response-time chart's model. It owns its series (drawn in list
// order), the 3D switch, the tiled back image, the axes and the view (the
// automatic extent or a zoomed or scrolled one). Changes only ask for a
// repaint through OnInvalidate; a control or a painter draws it later.
// GUI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/ChartBitmap.h"
#include "chart/ChartSeries.h"
#include "chart/FailureMarks.h"

enum TBackImageMode { pbmStretch, pbmTile, pbmCenter };
enum TChartBrushStyle { bsSolid, bsClear };
enum TChartBevel { bvNone, bvLowered, bvRaised };

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TChartFont {
    std::string Name = "Arial";
    int Size = 8; // points: 11 pixels high at 96 pixels per inch
    std::uint32_t Color = 0x00FFFFFF;
    unsigned Style = 0; // TFontStyle flags; none is the plain style
};

struct TChartAxis {
    bool Visible = true;
    TChartFont LabelsFont;

    // Recorded as the window's stored design gives them; nothing draws them:
    // no axis title is drawn, and labels always take the format above
    // (FormatAxisValue).
    TChartFont TitleFont;
    std::string Title;
    std::string AxisValuesFormat = "#,##0.###";
};

struct TValueRange {
    double Min = 0;
    double Max = 0;
    bool operator==(const TValueRange&) const = default;
};

class TChart {
public:
    TChart();
    TChart(const TChart&) = delete;
    TChart& operator=(const TChart&) = delete;
    ~TChart();

    // Appends a series (it is drawn after those already there) and returns it.
    template <class S>
    S& AddSeries()
    {
        auto s = std::make_unique<S>();
        S& ref = *s;
        Adopt(std::move(s));
        return ref;
    }
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    TChartSeries* Series(int index) const;

    bool View3D() const { return view3D_; }
    void SetView3D(bool value);

    tk::Picture BackImage;
    TBackImageMode BackImageMode = pbmTile;
    // The fill under the back image, seen where the image does not reach.
    std::uint32_t Color = 0x00000000;
    TChartAxis LeftAxis;
    TChartAxis BottomAxis;

    // Recorded as the window's stored design gives them; nothing draws them:
    // the painter always leaves the back wall clear, and draws no legend, no
    // title and no bevel.
    struct {
        TChartBrushStyle BrushStyle = bsClear;
    } BackWall;
    struct {
        bool Visible = false;
    } Legend;
    struct {
        bool Visible = false;
        std::string Text = "TChart";
    } Title;
    TChartBevel BevelOuter = bvNone;

    // The extent of the points of all active series; 0 to 0 when there are none.
    TValueRange XRange() const;
    TValueRange YRange() const;

    // The view: automatic (the extent above, widened when degenerate) unless
    // zoomed or scrolled; ViewX and ViewY hold the ranges shown while Zoomed.
    // Zooming and scrolling by mouse are both on by default.
    bool AllowZoom = true;
    bool AllowPanning = true;
    bool Zoomed() const { return zoomed_; }
    TValueRange ViewX() const { return viewX_; }
    TValueRange ViewY() const { return viewY_; }
    void ZoomTo(TValueRange x, TValueRange y);
    void UndoZoom();

    // While loading, functions do not compute; EndLoading rebuilds every
    // series that has a source, once.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    void EndLoading();

    // Failed pings, marked between the data series' (series 0's) points:
    // one more after its newest point. The marks follow the series' trims
    // and clears and never change its points or the axis ranges.
    void AddFailureMark();
    const TFailureMarks& FailureMarks() const { return failureMarks_; }

    // Marks the chart for repainting: counts, and calls OnInvalidate.
    void Invalidate();
    std::function<void()> OnInvalidate;
    unsigned long InvalidateCount() const { return invalidates_; }

private:
    friend class TChartSeries;
    void Adopt(std::unique_ptr<TChartSeries> series);
    // A series lost points (its oldest, or all): the marks follow the data series.
    void PointsRemoved(const TChartSeries& series);

    std::vector<std::unique_ptr<TChartSeries>> series_;
    bool view3D_ = false;
    bool zoomed_ = false;
    TValueRange viewX_, viewY_;
    bool loading_ = false;
    unsigned long invalidates_ = 0;
    TFailureMarks failureMarks_;
};
