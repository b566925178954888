// StaticText: a standard static control showing a line of text, for texts
// that another program (or a screen reader) must be able to read.
#pragma once

#include "toolkit/WinControl.h"

namespace tk {

class StaticText : public WinControl {
public:
    StaticText(Component* owner, WinControl* parent, Rect bounds, const std::string& text, DWORD style = SS_LEFT)
        : WinControl(owner, parent)
    {
        CreateHandle("STATIC", text, WS_VISIBLE | SS_NOPREFIX | style, 0, bounds);
    }
};

} // namespace tk
