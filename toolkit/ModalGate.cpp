#include "toolkit/ModalGate.h"

#include <utility>

namespace tk {

void ModalGate::Open(std::function<void()> modal)
{
    if (Held())
        kept_.push_back(std::move(modal));
    else
        modal();
}

void ModalGate::OpenHeld()
{
    if (Held())
        return;
    // A kept menu may itself ask for another: take the list first.
    for (std::function<void()>& modal : std::exchange(kept_, {}))
        modal();
}

} // namespace tk
