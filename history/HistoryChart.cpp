#include "history/HistoryChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "history/HistoryTexts.h"
#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"
#include "toolkit/SystemColors.h"

namespace {

// Design values: room for the axis' labels left and below.
constexpr int kAxisWidth = 48;
constexpr int kTimesHeight = 16;
constexpr int kLossMark = 5;
constexpr int kDownMark = 6;

struct TChartColors {
    COLORREF back, text, grid, band, average, failure, hatch;
};

TChartColors ColorsFor(bool system)
{
    if (system)
        return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_GRAYTEXT),
                GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_HOTLIGHT),
                GetSysColor(COLOR_GRAYTEXT)};
    return {RGB(255, 255, 255), RGB(0, 0, 0), RGB(224, 224, 224), RGB(176, 204, 240), RGB(0, 64, 160),
            RGB(255, 0, 0), RGB(160, 160, 160)};
}

void FillColor(HDC dc, RECT r, COLORREF color)
{
    tk::Brush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.Get());
}

std::string AxisText(double us)
{
    char text[24];
    std::snprintf(text, sizeof text, us < 1000 ? "%.1f ms" : "%.0f ms", us / 1000.0);
    return text;
}

} // namespace

THistoryChart::THistoryChart(tk::Component* owner, tk::CustomControl* parent, tk::Rect bounds,
                             const THistoryBins& bins)
    : GraphicControl(owner, parent, bounds), bins_(bins)
{
    SetRole(tk::AccessibleRole::Graphic);
    SetTabStop(true);
}

void THistoryChart::Show(const THistoryRange& range, std::uint32_t axisTopUs, std::uint32_t logBottomUs,
                         const std::vector<THistoryOutage>& outages)
{
    range_ = range;
    topUs_ = axisTopUs;
    logBottomUs_ = logBottomUs;
    columns_ = bins_.Columns(range.From, range.To, std::max(1, Plot().width));
    down_.assign(columns_.size(), false);
    for (std::size_t k = 0; k < columns_.size(); ++k)
        for (const THistoryOutage& o : outages)
            down_[k] = down_[k] || (o.From < columns_[k].To && columns_[k].From < o.To);
    Invalidate();
}

void THistoryChart::SetLogarithmic(bool logarithmic)
{
    logarithmic_ = logarithmic;
    Invalidate();
}

const THistoryColumn* THistoryChart::ColumnAt(tk::Point p) const
{
    const tk::Rect plot = Plot();
    if (!plot.Contains(p) || columns_.empty())
        return nullptr;
    const auto k = static_cast<std::size_t>(p.x - plot.left);
    return k < columns_.size() ? &columns_[k] : nullptr;
}

std::string THistoryChart::Caption() const
{
    if (columns_.empty())
        return "Chart";
    return "Chart from " + HistoryWallText(bins_.Label(bins_.MinuteOf(range_.From))) + " to " +
           HistoryWallText(bins_.Label(bins_.MinuteOf(range_.To))) + (logarithmic_ ? ", logarithmic" : ", linear");
}

tk::Rect THistoryChart::Plot() const
{
    const tk::Rect b = Bounds();
    const tk::Scale s = Parent()->Scaling();
    const int left = s(kAxisWidth), bottom = s(kTimesHeight);
    return {b.left + left, b.top + 1, std::max(0, b.width - left - 1), std::max(0, b.height - bottom - 1)};
}

int THistoryChart::YOf(double us, const tk::Rect& plot) const
{
    double share = 0;
    if (logarithmic_) {
        const double bottom = logBottomUs_;
        const double top = std::log10(std::max<double>(topUs_, bottom * 2) / bottom);
        share = std::log10(std::max(us, bottom) / bottom) / top;
    } else {
        share = us / topUs_;
    }
    share = std::clamp(share, 0.0, 1.0);
    return plot.Bottom() - 1 - static_cast<int>(std::lround(share * (plot.height - 1)));
}

void THistoryChart::Paint(HDC dc)
{
    const bool system = tk::UsesSystemColors(*Parent());
    const TChartColors c = ColorsFor(system);
    const tk::Rect b = Bounds();
    FillColor(dc, {b.left, b.top, b.Right(), b.Bottom()}, c.back);
    const tk::Rect plot = Plot();
    if (plot.width <= 0 || plot.height <= 0)
        return;
    tk::SelectScope font(dc, font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    SetBkMode(dc, TRANSPARENT);
    PaintAxis(dc, plot, c.text, c.grid);
    PaintColumns(dc, plot);
    PaintTimes(dc, plot, c.text);
    tk::Pen frame(CreatePen(PS_SOLID, 1, c.text));
    tk::SelectScope pen(dc, frame.Get());
    tk::SelectScope brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, plot.left - 1, plot.top - 1, plot.Right() + 1, plot.Bottom() + 1);
}

void THistoryChart::PaintAxis(HDC dc, const tk::Rect& plot, COLORREF text, COLORREF grid)
{
    std::vector<double> marks;
    if (logarithmic_) {
        for (double decade = logBottomUs_; decade <= topUs_; decade *= 10)
            for (double us : {decade, decade * 2, decade * 5})
                if (us <= topUs_)
                    marks.push_back(us);
    } else {
        // The least step of 1, 2 or 5 times a power of ten that makes six marks at most.
        double step = 10;
        for (int k = 0; topUs_ / step > 6; ++k)
            step *= k % 3 == 1 ? 2.5 : 2;
        for (double us = step; us <= topUs_; us += step)
            marks.push_back(us);
    }
    SetTextColor(dc, text);
    const int axisLeft = Bounds().left;
    for (double us : marks) {
        const int y = YOf(us, plot);
        FillColor(dc, {plot.left, y, plot.Right(), y + 1}, grid);
        const std::string label = AxisText(us);
        RECT r{axisLeft, y - 8, plot.left - 4, y + 8};
        DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
}

void THistoryChart::PaintColumns(HDC dc, const tk::Rect& plot)
{
    const TChartColors c = ColorsFor(tk::UsesSystemColors(*Parent()));
    const tk::Scale s = Parent()->Scaling();
    tk::Brush hatch(CreateHatchBrush(HS_BDIAGONAL, c.hatch));
    std::vector<POINT> line;
    tk::Pen averagePen(CreatePen(PS_SOLID, s.Line(1), c.average));
    const auto drawLine = [&] {
        if (line.size() > 1) {
            tk::SelectScope pen(dc, averagePen.Get());
            Polyline(dc, line.data(), static_cast<int>(line.size()));
        } else if (line.size() == 1) {
            SetPixel(dc, line[0].x, line[0].y, c.average);
        }
        line.clear();
    };
    for (std::size_t k = 0; k < columns_.size(); ++k) {
        const THistoryColumn& col = columns_[k];
        const int x = plot.left + static_cast<int>(k);
        if (!col.HasData) {
            drawLine();
            RECT r{x, plot.top, x + 1, plot.Bottom()};
            SetBkColor(dc, c.back);
            FillRect(dc, &r, hatch.Get());
            continue;
        }
        if (col.Echoes) {
            const int top = YOf(col.MaxTrip, plot), bottom = YOf(col.MinTrip, plot);
            FillColor(dc, {x, top, x + 1, bottom + 1}, c.band);
            line.push_back({x, YOf(col.AverageUs(), plot)});
        } else {
            drawLine();
        }
        if (col.Failures())
            FillColor(dc, {x, plot.top, x + 1, plot.top + s(kLossMark)}, c.failure);
        if (col.DownMs || down_[k])
            FillColor(dc, {x, plot.Bottom() - s(kDownMark), x + 1, plot.Bottom()}, c.failure);
    }
    drawLine();
}

void THistoryChart::PaintTimes(HDC dc, const tk::Rect& plot, COLORREF text)
{
    if (range_.To <= range_.From)
        return;
    SetTextColor(dc, text);
    RECT r{plot.left, plot.Bottom() + 1, plot.Right(), Bounds().Bottom()};
    const std::string from = HistoryWallText(bins_.Label(bins_.MinuteOf(range_.From)));
    const std::string middle = HistoryWallText(bins_.Label(bins_.MinuteOf(range_.Middle())));
    const std::string to = HistoryWallText(bins_.Label(bins_.MinuteOf(range_.To)));
    DrawTextA(dc, from.c_str(), static_cast<int>(from.size()), &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    DrawTextA(dc, middle.c_str(), static_cast<int>(middle.size()), &r, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    DrawTextA(dc, to.c_str(), static_cast<int>(to.size()), &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
}
