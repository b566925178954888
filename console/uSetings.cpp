#include "console/uSetings.h"

#include "toolkit/TestHooks.h"

TFormSetings* FormSetings = nullptr;

TFormSetings::TFormSetings(tk::Component* owner) : tk::Form(owner, "TFormSetings")
{
    ZV_FAIL_POINT("TFormSetings");
    SetCaption("Zent Vorlumo");
    SetBounds({0, 0, 582, 403});
    SetCenterOnFirstShow(true);
}

void TFormSetings::FormCreate()
{
    ZV_FAIL_POINT("FormSetings.FormCreate");
}

void TFormSetings::FormDestroy()
{
    ZV_FAIL_POINT("FormSetings.FormDestroy");
}
