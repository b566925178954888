#include "toolkit/Panel.h"

#include "toolkit/LinkLabel.h"

namespace tk {

Panel::Panel(Component* owner, WinControl* parent, Rect bounds, bool bevel, bool visible)
    : CustomControl(owner, parent)
{
    Create(bounds, visible);
    if (bevel)
        frame_ = new Frame(this, this, {0, 0, bounds.width, bounds.height}, FrameKind::Bevel);
}

Panel::Panel(Component* owner, WinControl* parent, Rect bounds, FrameKind frame, const std::string& caption)
    : CustomControl(owner, parent)
{
    Create(bounds);
    frame_ = new Frame(this, this, {0, 0, bounds.width, bounds.height}, frame, caption);
}

void Panel::Create(Rect bounds, bool visible)
{
    CreateCustom("tk.Panel", "", WS_CHILD | (visible ? WS_VISIBLE : 0) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, bounds,
                 ParentHandle());
    if (Parent() && Parent()->GetFont())
        SetFont(Parent()->GetFont());
}

LRESULT Panel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSELEAVE) {
        SetHovered(nullptr);
        return 0;
    }
    return CustomControl::WindowProc(message, wParam, lParam);
}

void Panel::OnSize(int cx, int cy)
{
    CustomControl::OnSize(cx, cy);
    if (frame_)
        frame_->SetBounds({0, 0, cx, cy});
}

void Panel::OnMouseMove(Point p, unsigned keys)
{
    CustomControl::OnMouseMove(p, keys);
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

} // namespace tk
