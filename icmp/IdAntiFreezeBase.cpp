#include "icmp/IdAntiFreezeBase.h"

#include <windows.h>

#include "toolkit/Application.h"

namespace {

TIdAntiFreezeBase* current = nullptr;

} // namespace

TIdAntiFreezeBase::TIdAntiFreezeBase(tk::Component* owner) : TIdBaseComponent(owner)
{
    current = this;
}

TIdAntiFreezeBase::~TIdAntiFreezeBase()
{
    current = nullptr;
}

TIdAntiFreezeBase* TIdAntiFreezeBase::Current()
{
    return current;
}

bool TIdAntiFreezeBase::IsMainThread()
{
    // The application object records the main thread when it is created; without one
    // there is no message loop to service.
    return tk::TheApplication && GetCurrentThreadId() == tk::TheApplication->MainThreadId();
}

bool TIdAntiFreezeBase::InUse()
{
    return current && IsMainThread() && current->Active();
}

void TIdAntiFreezeBase::Pump(bool idle, bool force)
{
    if (!InUse())
        return;
    if ((idle || !current->OnlyWhenIdle() || force) && current->Active())
        current->Service();
}
