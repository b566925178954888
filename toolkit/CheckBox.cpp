#include "toolkit/CheckBox.h"

namespace tk {

CheckBox::CheckBox(Component* owner, WinControl* parent, Rect bounds, const std::string& caption)
    : CheckBox(owner, parent, bounds, caption, 0)
{
}

CheckBox::CheckBox(Component* owner, WinControl* parent, Rect bounds, const std::string& caption, DWORD style)
    : WinControl(owner, parent)
{
    CreateHandle("BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | style, 0, bounds);
}

bool CheckBox::Checked() const
{
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked)
{
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Command(unsigned code)
{
    if (code == BN_CLICKED && OnClick)
        OnClick(this);
}

} // namespace tk
