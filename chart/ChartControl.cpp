#include "chart/ChartControl.h"

#include <windowsx.h>

#include "chart/LocaleSeparators.h"

TChartControl::TChartControl(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds)
    : tk::CustomControl(owner, parent)
{
    painter_.Separators = ReadLocaleSeparators();
    CreateCustom("ZvChart", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, bounds, ParentHandle());
    chart_.OnInvalidate = [this] { Repaint(); };
}

TChartControl::~TChartControl()
{
    chart_.OnInvalidate = nullptr;
}

void TChartControl::Repaint()
{
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT TChartControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(TChartButton::Left, x, y);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        OnButtonDown(TChartButton::Right, x, y);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(TChartButton::Left, x, y);
        return 0;
    case WM_RBUTTONUP:
        OnButtonUp(TChartButton::Right, x, y);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost();
        break;
    }
    return tk::CustomControl::WindowProc(message, wParam, lParam);
}

void TChartControl::PaintTo(HDC dc)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    painter_.Paint(dc, chart_, client.right, client.bottom, mouse_.RubberBand());
}

void TChartControl::OnPaint()
{
    tk::PaintDC paint(Handle());
    PaintTo(paint.Get());
}

void TChartControl::OnSize(int width, int height)
{
    painter_.PrepareBuffer(width, height);
    Repaint();
}

TChartLayout TChartControl::CurrentLayout()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return painter_.Layout(chart_, client.right, client.bottom);
}

void TChartControl::OnButtonDown(TChartButton button, int x, int y)
{
    if (mouse_.Down(button, x, y, chart_, CurrentLayout()))
        SetCapture(Handle());
}

void TChartControl::OnMouseMove(int x, int y)
{
    if (mouse_.Dragging() && mouse_.Move(x, y, chart_, CurrentLayout()))
        Repaint();
}

void TChartControl::OnButtonUp(TChartButton button, int x, int y)
{
    if (!mouse_.Dragging())
        return;
    const bool changed = mouse_.Up(button, x, y, chart_, CurrentLayout());
    if (!mouse_.Dragging() && GetCapture() == Handle())
        ReleaseCapture(); // WM_CAPTURECHANGED then finds no drag to cancel
    if (changed)
        Repaint();
}

void TChartControl::OnCaptureLost()
{
    if (mouse_.Cancel())
        Repaint();
}
