// TChartMouse: the chart's mouse handling, apart from the window. A left
// drag towards the lower right zooms into the dragged rectangle; a left drag
// towards the upper left returns to the automatic view; a right drag
// scrolls both axes with the pointer. Portable: it works on a layout (the
// picture as last painted) and changes only the chart's view.
#pragma once

#include <optional>

#include "chart/Chart.h"
#include "chart/ChartLayout.h"

enum class TChartButton { Left, Right, Middle };

class TChartMouse {
public:
    // Pixels a drag must cover before it counts; smaller moves are clicks.
    static constexpr int DragThreshold = 4;

    // True when the press starts a drag (the window should capture the mouse).
    bool Down(TChartButton button, int x, int y, const TChart& chart, const TChartLayout& layout);
    // True when the picture changed (the rubber band moved or the view scrolled).
    bool Move(int x, int y, TChart& chart, const TChartLayout& layout);
    // Ends the drag; true if the picture changed. Releases of other buttons are ignored.
    bool Up(TChartButton button, int x, int y, TChart& chart, const TChartLayout& layout);
    // Ends a drag without effect (capture lost, Escape); true if a rubber band goes.
    bool Cancel();

    bool Dragging() const { return mode_ != Mode::None; }
    // The rubber band to draw while a zoom drag goes down-right.
    std::optional<TPixelRect> RubberBand() const;

private:
    enum class Mode { None, Zoom, Scroll };
    Mode mode_ = Mode::None;
    int startX_ = 0, startY_ = 0, lastX_ = 0, lastY_ = 0;
};
