// LinkLabel: a label that is a web link: blue, with the hand pointer, and
// told when the pointer enters and leaves it (by the Panel it lies on).
#pragma once

#include "toolkit/Label.h"

namespace tk {

class LinkLabel : public Label {
public:
    LinkLabel(Component* owner, CustomControl* parent, Rect bounds, std::string text);

    void MouseEnter();
    void MouseLeave();

    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseLeave;

protected:
    int SystemTextColor() const override { return COLOR_HOTLIGHT; }
};

} // namespace tk
