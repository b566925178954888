#include "toolkit/SpeedButton.h"

#include "toolkit/CustomControl.h"
#include "toolkit/Image.h"

namespace tk {

SpeedButton::SpeedButton(Component* owner, CustomControl* parent, Rect bounds) : GraphicControl(owner, parent, bounds)
{
    SetRole(AccessibleRole::PushButton);
}

void SpeedButton::SetGlyph(Bitmap glyph)
{
    glyph_ = std::move(glyph);
    Invalidate();
}

void SpeedButton::SetDown(bool down)
{
    if (down_ == down)
        return;
    down_ = down;
    Invalidate();
}

void SpeedButton::MouseDown(MouseButton button, Point p, unsigned keys)
{
    if (button == MouseButton::Left)
        SetDown(true);
    GraphicControl::MouseDown(button, p, keys);
}

void SpeedButton::MouseUp(MouseButton button, Point p, unsigned keys)
{
    SetDown(false);
    GraphicControl::MouseUp(button, p, keys);
}

void SpeedButton::Paint(HDC dc)
{
    if (!glyph_)
        return;
    BITMAP info{};
    GetObjectA(glyph_.Get(), sizeof info, &info);
    Rect b = Bounds();
    const int shift = down_ ? Parent()->Scaling()(1) : 0;
    DrawBitmap(dc, glyph_.Get(), b.left + (b.width - info.bmWidth) / 2 + shift,
               b.top + (b.height - info.bmHeight) / 2 + shift, true);
}

} // namespace tk
