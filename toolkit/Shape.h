// Shape: a windowless rectangle filled with one colour and outlined with a
// one-pixel pen of another, drawn behind or between other controls.
#pragma once

#include "toolkit/GraphicControl.h"

namespace tk {

class Shape : public GraphicControl {
public:
    Shape(Component* owner, CustomControl* parent, Rect bounds, COLORREF fill = RGB(255, 255, 255),
          COLORREF pen = RGB(0, 0, 0));

    void Paint(HDC dc) override;

private:
    COLORREF fill_;
    COLORREF pen_;
};

} // namespace tk
