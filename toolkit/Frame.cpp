#include "toolkit/Frame.h"

#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"

namespace tk {

Frame::Frame(Component* owner, CustomControl* parent, Rect bounds, FrameKind kind, std::string caption)
    : GraphicControl(owner, parent, bounds), kind_(kind), caption_(std::move(caption))
{
}

void Frame::Paint(HDC dc)
{
    Rect b = Bounds();
    RECT r{b.left, b.top, b.Right(), b.Bottom()};
    if (kind_ == FrameKind::Bevel) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        return;
    }
    SelectScope font(dc, Parent()->GetFont() ? Parent()->GetFont() : GetStockObject(DEFAULT_GUI_FONT));
    SIZE text{};
    GetTextExtentPoint32A(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
    // The line runs through the middle of the caption's height.
    r.top += text.cy / 2;
    DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    if (caption_.empty())
        return;
    const int indent = Parent()->Scaling()(8);
    RECT label{b.left + indent, b.top, b.left + indent + text.cx, b.top + text.cy};
    Brush face(CreateSolidBrush(Parent()->Color()));
    FillRect(dc, &label, face.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &label, DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace tk
