#include "toolkit/Panel.h"

#include <windowsx.h>

#include "toolkit/LinkLabel.h"

namespace tk {

Panel::Panel(Component* owner, WinControl* parent, Rect bounds, bool bevel) : CustomControl(owner, parent)
{
    Create(bounds);
    if (bevel)
        frame_ = new Frame(this, this, {0, 0, bounds.width, bounds.height}, FrameKind::Bevel);
}

Panel::Panel(Component* owner, WinControl* parent, Rect bounds, FrameKind frame, const std::string& caption)
    : CustomControl(owner, parent)
{
    Create(bounds);
    frame_ = new Frame(this, this, {0, 0, bounds.width, bounds.height}, frame, caption);
}

void Panel::Create(Rect bounds)
{
    // WS_EX_CONTROLPARENT: Tab moves into the panel's controls.
    CreateCustom("tk.Panel", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                 bounds, ParentHandle());
    if (Parent() && Parent()->GetFont())
        SetFont(Parent()->GetFont());
}

LRESULT Panel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_MOUSELEAVE:
        SetHovered(nullptr);
        return 0;
    case WM_DRAWITEM:
        if (OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    }
    return CustomControl::WindowProc(message, wParam, lParam);
}

void Panel::OnSize(int width, int height)
{
    if (frame_)
        frame_->SetBounds({0, 0, width, height});
}

void Panel::OnMouseMove(Point p)
{
    auto* label = dynamic_cast<LinkLabel*>(Graphics().At(p));
    if (label && !hovered_) {
        // Asks for WM_MOUSELEAVE once the pointer leaves the window.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
    }
    SetHovered(label);
}

void Panel::SetHovered(LinkLabel* label)
{
    if (label == hovered_)
        return;
    LinkLabel* left = hovered_;
    hovered_ = label;
    if (left)
        left->MouseLeave();
    if (label)
        label->MouseEnter();
}

bool Panel::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    auto* target = dynamic_cast<OwnerDrawn*>(FromHandle(item.hwndItem));
    if (!target)
        return false;
    target->DrawItem(item);
    return true;
}

} // namespace tk
