// Panel: a container window of our own class for controls and windowless
// controls, with a raised bevel or none. It tells link labels when the
// pointer enters and leaves them, and hands owner-drawn children their
// WM_DRAWITEM. Group boxes and tab pages are panels too. GUI thread only.
#pragma once

#include "toolkit/CustomControl.h"
#include "toolkit/Frame.h"

namespace tk {

class LinkLabel;

// A child that draws itself when its parent receives WM_DRAWITEM.
class OwnerDrawn {
public:
    virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;

protected:
    ~OwnerDrawn() = default;
};

class Panel : public CustomControl {
public:
    Panel(Component* owner, WinControl* parent, Rect bounds, bool bevel = true);

protected:
    Panel(Component* owner, WinControl* parent, Rect bounds, FrameKind frame, const std::string& caption);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Create(Rect bounds);
    void OnSize(int width, int height);
    void OnMouseMove(Point p);
    void SetHovered(LinkLabel* label);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);

    Frame* frame_ = nullptr;
    LinkLabel* hovered_ = nullptr;
};

// GroupBox: a panel with an etched frame and its caption in the top edge.
class GroupBox : public Panel {
public:
    GroupBox(Component* owner, WinControl* parent, Rect bounds, const std::string& caption)
        : Panel(owner, parent, bounds, FrameKind::Group, caption)
    {
    }
};

} // namespace tk
