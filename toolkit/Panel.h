// Panel: a container window of our own class for controls and windowless
// controls, with a raised bevel or none. It tells link labels when the
// pointer enters and leaves them. Group boxes and tab pages are panels too.
// GUI thread only.
#pragma once

#include "toolkit/CustomControl.h"
#include "toolkit/Frame.h"

namespace tk {

class LinkLabel;

class Panel : public CustomControl {
public:
    Panel(Component* owner, WinControl* parent, Rect bounds, bool bevel = true, bool visible = true);

protected:
    Panel(Component* owner, WinControl* parent, Rect bounds, FrameKind frame, const std::string& caption);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(int cx, int cy) override;
    void OnMouseMove(Point p, unsigned keys) override;

private:
    void Create(Rect bounds, bool visible = true);
    void SetHovered(LinkLabel* label);

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
