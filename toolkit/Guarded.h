// Guarded: runs a handler and hands any exception that leaves it to the
// application's error box, so none unwinds through USER32's frames. Every
// window procedure and timer callback of the toolkit runs its work in here.
// Inside a HandlerErrorScope the exception is kept for the scope instead.
#pragma once

#include "toolkit/Application.h"
#include "toolkit/HandlerErrorScope.h"

namespace tk {

template <class F>
bool Guarded(F&& handler) noexcept
{
    try {
        handler();
        return true;
    } catch (...) {
        if (!HandlerErrorScope::KeepCurrent() && TheApplication)
            TheApplication->HandleCurrentException();
        return false;
    }
}

} // namespace tk
