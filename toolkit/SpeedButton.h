// SpeedButton: a flat, windowless picture button. Draws its glyph centred,
// the colour of the glyph's lower-left pixel left out, one pixel down and
// right while pressed; no frame. Owns its glyph. GUI thread only.
#pragma once

#include "toolkit/GraphicControl.h"
#include "toolkit/Handles.h"

namespace tk {

class SpeedButton : public GraphicControl {
public:
    SpeedButton(Component* owner, CustomControl* parent, Rect bounds);

    void SetGlyph(Bitmap glyph);

    void Paint(HDC dc) override;
    void MouseDown(MouseButton button, Point p, unsigned keys) override;
    void MouseUp(MouseButton button, Point p, unsigned keys) override;

private:
    void SetDown(bool down);

    Bitmap glyph_;
    bool down_ = false;
};

} // namespace tk
