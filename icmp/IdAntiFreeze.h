// TIdAntiFreeze: services window messages through the application object
// between the slices of a socket wait: all pending ones, or at most one when
// the application does not have priority. Main thread. Win32 layer.
#pragma once

#include "icmp/IdAntiFreezeBase.h"

class TIdAntiFreeze : public TIdAntiFreezeBase {
public:
    explicit TIdAntiFreeze(tk::Component* owner = nullptr) : TIdAntiFreezeBase(owner) {}

    void Service() override;
};
