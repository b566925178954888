// TFormMain: the compact monitor window, the program's main window. Created
// first at start-up; a borderless 475 x 265 window centred on the screen.
// Owned by the application; lives until shutdown. GUI thread only.
#pragma once

#include "toolkit/Form.h"

class TFormMain : public tk::Form {
public:
    explicit TFormMain(tk::Component* owner);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

extern TFormMain* FormMain;
