#include "app/uMain.h"

#include "app/TestHooks.h"

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(tk::Component* owner) : tk::Form(owner, "TFormMain")
{
    ZV_FAIL_POINT("TFormMain");
    SetBorderStyle(tk::BorderStyle::None);
    SetClientSize(475, 265);
    SetCenterOnFirstShow(true);
    SetColor(RGB(0x1E, 0x2B, 0x33));
}

LRESULT TFormMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (ZV_THROW_ON_REQUEST(message, wParam))
        return 0;
    return tk::Form::WindowProc(message, wParam, lParam);
}
