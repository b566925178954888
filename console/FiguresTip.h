// TFiguresTip: the system tooltip that shows a monitoring run's figures over
// some controls of one window, in the locale's number and time formats.
// Refresh renews it while it shows. It reads the figures it is given (none
// until then: then it has no text and Refresh does nothing). Win32 layer;
// GUI thread only.
#pragma once

#include "monitor/RunFiguresFeed.h"
#include "toolkit/ToolTip.h"

class TFiguresTip : public tk::ToolTip {
public:
    TFiguresTip(tk::Component* owner, tk::WinControl* form);

    // Must outlive the tip, or be taken back with nullptr first.
    void SetFigures(const TRunFiguresFeed* figures) { figures_ = figures; }
    void Refresh();

private:
    const TRunFiguresFeed* figures_ = nullptr;
};
