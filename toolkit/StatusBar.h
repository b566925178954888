// StatusBar: a standard status bar without panels or text, placed where its
// owner puts it (it does not align itself to the parent).
#pragma once

#include "toolkit/WinControl.h"

namespace tk {

class StatusBar : public WinControl {
public:
    StatusBar(Component* owner, WinControl* parent, Rect bounds) : WinControl(owner, parent)
    {
        CreateHandle(STATUSCLASSNAMEA, "", WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP, 0, bounds);
    }
};

} // namespace tk
