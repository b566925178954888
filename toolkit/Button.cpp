#include "toolkit/Button.h"

namespace tk {

Button::Button(Component* owner, WinControl* parent, Rect bounds, const std::string& caption, DWORD style)
    : WinControl(owner, parent)
{
    CreateHandle("BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | style, 0, bounds);
}

void Button::Click()
{
    if (OnClick)
        OnClick(this);
}

void Button::Command(unsigned code)
{
    if (code == BN_CLICKED)
        Click();
}

} // namespace tk
