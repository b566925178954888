#include "chart/ChartMouse.h"

#include <algorithm>

bool TChartMouse::Down(TChartButton button, int x, int y, const TChart& chart, const TChartLayout& layout)
{
    if (mode_ != Mode::None || layout.Plot.Width() < 2 || layout.Plot.Height() < 2)
        return false;
    if (button == TChartButton::Left && chart.AllowZoom)
        mode_ = Mode::Zoom;
    else if (button == TChartButton::Right && chart.AllowPanning)
        mode_ = Mode::Scroll;
    else
        return false;
    startX_ = lastX_ = x;
    startY_ = lastY_ = y;
    return true;
}

bool TChartMouse::Move(int x, int y, TChart& chart, const TChartLayout& layout)
{
    const int dx = x - lastX_, dy = y - lastY_;
    lastX_ = x;
    lastY_ = y;
    if (mode_ == Mode::Zoom)
        return dx != 0 || dy != 0;
    if (mode_ != Mode::Scroll || (dx == 0 && dy == 0))
        return false;
    // The picture follows the pointer: moving right shows smaller X, moving down larger Y.
    const double shiftX = -dx / layout.XMap.Scale();
    const double shiftY = -dy / layout.YMap.Scale();
    // From the chart's own view when it has one: moves since the last paint add up.
    const TValueRange vx = chart.Zoomed() ? chart.ViewX() : layout.XRange;
    const TValueRange vy = chart.Zoomed() ? chart.ViewY() : layout.YRange;
    chart.ZoomTo({vx.Min + shiftX, vx.Max + shiftX}, {vy.Min + shiftY, vy.Max + shiftY});
    return true;
}

bool TChartMouse::Up(TChartButton button, int x, int y, TChart& chart, const TChartLayout& layout)
{
    if (mode_ == Mode::None || (button == TChartButton::Left) != (mode_ == Mode::Zoom))
        return false;
    if (mode_ == Mode::Scroll) {
        bool moved = Move(x, y, chart, layout);
        mode_ = Mode::None;
        return moved;
    }
    const bool hadBand = RubberBand().has_value();
    mode_ = Mode::None;
    const int dx = x - startX_, dy = y - startY_;
    if (dx >= DragThreshold && dy >= DragThreshold) {
        const TPixelRect& p = layout.Plot;
        const int left = std::clamp(startX_, p.Left, p.Right - 1), right = std::clamp(x, p.Left, p.Right - 1);
        const int top = std::clamp(startY_, p.Top, p.Bottom - 1), bottom = std::clamp(y, p.Top, p.Bottom - 1);
        if (right > left && bottom > top)
            chart.ZoomTo({layout.XMap.ToValue(left), layout.XMap.ToValue(right)},
                         {layout.YMap.ToValue(bottom), layout.YMap.ToValue(top)});
        return true; // the rubber band goes in any case
    }
    if (dx <= -DragThreshold || dy <= -DragThreshold) {
        chart.UndoZoom();
        return true;
    }
    return hadBand;
}

bool TChartMouse::Cancel()
{
    const bool was = RubberBand().has_value();
    mode_ = Mode::None;
    return was;
}

std::optional<TPixelRect> TChartMouse::RubberBand() const
{
    if (mode_ != Mode::Zoom || lastX_ - startX_ < DragThreshold || lastY_ - startY_ < DragThreshold)
        return std::nullopt;
    return TPixelRect{startX_, startY_, lastX_ + 1, lastY_ + 1};
}
