// TIdComponent: a socket component. The process-wide socket stack lives
// while at least one exists: the first one creates it, the last one frees
// it, under one process-wide lock. Any thread. Win32 layer.
#pragma once

#include <cstdint>

#include "icmp/IdBaseComponent.h"
#include "icmp/IdStackWindows.h"

class TIdComponent : public TIdBaseComponent {
public:
    // Raises what creating the shared stack raises; the count is then as before.
    explicit TIdComponent(tk::Component* owner = nullptr);
    ~TIdComponent() override;

    static std::int32_t InstanceCount();
};

// The shared stack; null while no TIdComponent exists.
extern TIdStackWindows* GStack;
