#include "icmp/IdAntiFreeze.h"

#include <windows.h>

#include "toolkit/Application.h"

void TIdAntiFreeze::Service()
{
    if (!tk::TheApplication)
        return;
    if (ApplicationHasPriority()) {
        tk::TheApplication->ProcessMessages();
        return;
    }
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        tk::TheApplication->HandleMessage();
}
