// TIdRawClient: the raw socket base with its receive time-out made public.
// Win32 layer.
#pragma once

#include "icmp/IdRawBase.h"

class TIdRawClient : public TIdRawBase {
public:
    explicit TIdRawClient(tk::Component* owner = nullptr) : TIdRawBase(owner) {}

    using TIdRawBase::ReceiveTimeout;
    using TIdRawBase::SetReceiveTimeout;
};
