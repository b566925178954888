#include "toolkit/LinkLabel.h"

#include "toolkit/Handles.h"

namespace tk {

LinkLabel::LinkLabel(Component* owner, CustomControl* parent, Rect bounds, std::string text)
    : Label(owner, parent, bounds, std::move(text))
{
    SetTextColor(RGB(0, 0, 255));
    SetCursor(SystemCursor(IDC_HAND));
}

void LinkLabel::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void LinkLabel::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

} // namespace tk
