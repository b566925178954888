#include "console/uSetings.h"

#include "app/uMain.h"
#include "toolkit/TestHooks.h"

TFormSetings* FormSetings = nullptr;

TFormSetings::TFormSetings(tk::Component* owner) : tk::Form(owner, "TFormSetings")
{
    ZV_FAIL_POINT("TFormSetings");
    SetCaption("Zent Vorlumo");
    SetBounds({0, 0, 582, 403});
    SetCenterOnFirstShow(true);
}

void TFormSetings::SelectPage(int index)
{
    page_ = index;
}

bool TFormSetings::HostBoxEnabled() const
{
    return !repeatDown_;
}

void TFormSetings::FocusHostBox() {}

void TFormSetings::ShowConsole()
{
    Show();
    SetForegroundWindow(Handle());
}

bool TFormSetings::RepeatDown() const
{
    return repeatDown_;
}

void TFormSetings::SetRepeatDown(bool down)
{
    repeatDown_ = down;
}

void TFormSetings::spbRepPingClick(tk::Component* Sender)
{
    (void)Sender;
    if (repeatDown_)
        Hide();
    FormMain->SetStartStop(repeatDown_);
}

void TFormSetings::FormCreate()
{
    ZV_FAIL_POINT("FormSetings.FormCreate");
}

void TFormSetings::FormDestroy()
{
    ZV_FAIL_POINT("FormSetings.FormDestroy");
}
