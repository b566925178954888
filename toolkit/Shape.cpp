#include "toolkit/Shape.h"

#include "toolkit/Handles.h"

namespace tk {

Shape::Shape(Component* owner, CustomControl* parent, Rect bounds, COLORREF fill, COLORREF pen)
    : GraphicControl(owner, parent, bounds), fill_(fill), pen_(pen)
{
}

void Shape::Paint(HDC dc)
{
    Rect b = Bounds();
    Brush brush(CreateSolidBrush(fill_));
    Pen pen(CreatePen(PS_SOLID, 1, pen_));
    SelectScope selectBrush(dc, brush.Get());
    SelectScope selectPen(dc, pen.Get());
    Rectangle(dc, b.left, b.top, b.Right(), b.Bottom());
}

} // namespace tk
