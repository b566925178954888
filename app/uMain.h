// TFormMain: the compact monitor window, the program's main window. Created
// first at start-up; a borderless 475 x 265 window centred on the screen.
// Everything it shows is written by the console through the members below.
// Owned by the application; lives until shutdown. GUI thread only.
#pragma once

#include "chart/ChartControl.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"

class TFormMain : public tk::Form {
public:
    explicit TFormMain(tk::Component* owner);

    // START while `running` is false, STOP while it is true.
    void SetStartStop(bool running);

    tk::Label* lbHost;
    tk::Label* lbAVG;
    TChartControl* Chart1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool running_ = false;
};

extern TFormMain* FormMain;
