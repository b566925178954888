// TIdBaseComponent: the root of the socket components, a plain toolkit
// component owned by the form it is placed on. Portable.
#pragma once

#include "toolkit/Component.h"

class TIdBaseComponent : public tk::Component {
public:
    explicit TIdBaseComponent(tk::Component* owner = nullptr) : tk::Component(owner) {}
};
