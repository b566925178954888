// TChartControl: the chart as a child window (the compact window's Chart1).
// Owns the chart model, its painter (whose bitmap is the back buffer) and
// the mouse handling. Model changes only invalidate the window; WM_PAINT
// redraws the picture only after one, and copies the painted area out of
// the painter's bitmap, so repaints never flicker. GUI thread only.
#pragma once

#include <windows.h>

#include "chart/Chart.h"
#include "chart/ChartMouse.h"
#include "chart/ChartPainter.h"
#include "toolkit/CustomControl.h"

class TChartControl : public tk::CustomControl {
public:
    TChartControl(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds);
    ~TChartControl() override;

    TChart& Chart() { return chart_; }
    const TChart& Chart() const { return chart_; }
    // The operations the console uses, straight on the control.
    TChartSeries* Series(int index) const { return chart_.Series(index); }
    bool View3D() const { return chart_.View3D(); }
    void SetView3D(bool value) { chart_.SetView3D(value); }

    // The picture as the window shows it, for any DC (a printout, a test).
    void PaintTo(HDC dc) override;
    void ApplyScale() override;

protected:
    void OnPaint(HDC dc, const RECT& area) override;
    void OnSize(int cx, int cy) override;
    void OnMouseDown(tk::MouseButton button, tk::Point p, unsigned keys) override;
    void OnMouseMove(tk::Point p, unsigned keys) override;
    void OnMouseUp(tk::MouseButton button, tk::Point p, unsigned keys) override;
    void OnCaptureChanged() override;

private:
    TChartLayout CurrentLayout();
    SIZE ClientSize() const;

    TChart chart_;
    TChartPainter painter_;
    TChartMouse mouse_;
};
