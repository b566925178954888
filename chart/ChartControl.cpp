#include "chart/ChartControl.h"

#include <optional>

#include "toolkit/LocaleText.h"

TChartControl::TChartControl(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds)
    : tk::CustomControl(owner, parent)
{
    painter_.Separators = tk::ReadLocaleSeparators();
    CreateCustom("ZvChart", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, bounds, ParentHandle());
    chart_.OnInvalidate = [this] { Invalidate(); };
}

TChartControl::~TChartControl()
{
    chart_.OnInvalidate = nullptr;
}

namespace {
// The chart drags with the left and the right button only.
std::optional<TChartButton> ChartButton(tk::MouseButton button)
{
    switch (button) {
    case tk::MouseButton::Left:
        return TChartButton::Left;
    case tk::MouseButton::Right:
        return TChartButton::Right;
    default:
        return std::nullopt;
    }
}
} // namespace

SIZE TChartControl::ClientSize() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return {client.right, client.bottom};
}

void TChartControl::PaintTo(HDC dc)
{
    const SIZE size = ClientSize();
    painter_.Paint(dc, chart_, size.cx, size.cy, mouse_.RubberBand());
}

void TChartControl::OnPaint(HDC dc, const RECT& area)
{
    const SIZE size = ClientSize();
    if (TakeNeedsDraw() || !painter_.HasPicture(size.cx, size.cy))
        painter_.Draw(chart_, size.cx, size.cy, mouse_.RubberBand());
    painter_.CopyTo(dc, area);
}

void TChartControl::OnSize(int cx, int cy)
{
    painter_.PrepareBuffer(cx, cy);
}

TChartLayout TChartControl::CurrentLayout()
{
    const SIZE size = ClientSize();
    return painter_.Layout(chart_, size.cx, size.cy);
}

void TChartControl::OnMouseDown(tk::MouseButton button, tk::Point p, unsigned)
{
    if (auto b = ChartButton(button); b && mouse_.Down(*b, p.x, p.y, chart_, CurrentLayout()))
        SetCapture(Handle());
}

void TChartControl::OnMouseMove(tk::Point p, unsigned)
{
    if (mouse_.Dragging() && mouse_.Move(p.x, p.y, chart_, CurrentLayout()))
        Invalidate();
}

void TChartControl::OnMouseUp(tk::MouseButton button, tk::Point p, unsigned)
{
    auto b = ChartButton(button);
    if (!b || !mouse_.Dragging())
        return;
    const bool changed = mouse_.Up(*b, p.x, p.y, chart_, CurrentLayout());
    if (!mouse_.Dragging() && GetCapture() == Handle())
        ReleaseCapture(); // WM_CAPTURECHANGED then finds no drag to cancel
    if (changed)
        Invalidate();
}

void TChartControl::OnCaptureChanged()
{
    if (mouse_.Cancel())
        Invalidate();
}
