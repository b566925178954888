// Button: a standard push button; BN_CLICKED raises OnClick.
#pragma once

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

namespace tk {

class Button : public WinControl {
public:
    Button(Component* owner, WinControl* parent, Rect bounds, const std::string& caption, DWORD style = 0);

    // As if the user had clicked it.
    void Click();
    void Command(unsigned code) override;

    NotifyEvent OnClick;
};

} // namespace tk
