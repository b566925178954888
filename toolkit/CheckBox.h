// CheckBox: a standard check box; ToggleButton: a push button that stays
// down after a click until the next (a push-like check box). A click by
// the user changes the state first, then raises OnClick; SetChecked and
// SetDown change the state only.
#pragma once

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

namespace tk {

class CheckBox : public WinControl {
public:
    CheckBox(Component* owner, WinControl* parent, Rect bounds, const std::string& caption);

    bool Checked() const;
    void SetChecked(bool checked);
    void Command(unsigned code) override;

    NotifyEvent OnClick;

protected:
    CheckBox(Component* owner, WinControl* parent, Rect bounds, const std::string& caption, DWORD style);
};

class ToggleButton : public CheckBox {
public:
    ToggleButton(Component* owner, WinControl* parent, Rect bounds, const std::string& caption)
        : CheckBox(owner, parent, bounds, caption, BS_PUSHLIKE)
    {
    }

    bool Down() const { return Checked(); }
    void SetDown(bool down) { SetChecked(down); }
};

} // namespace tk
