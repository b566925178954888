// TIdComponent: a socket component. The process-wide socket stack lives
// while at least one exists: the first one creates it, the last one frees
// it, under one process-wide lock. Any thread. Win32 layer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "icmp/IdBaseComponent.h"
#include "icmp/IdStackWindows.h"

using TIdStatusEvent =
    std::function<void(tk::Component* ASender, std::int32_t AStatus, const std::string& AStatusText)>;

class TIdComponent : public TIdBaseComponent {
public:
    // Raises what creating the shared stack raises; the count is then as before.
    explicit TIdComponent(tk::Component* owner = nullptr);
    ~TIdComponent() override;

    // Never fired on the echo path.
    TIdStatusEvent OnStatus;

    static std::int32_t InstanceCount();
};

// The shared stack; null while no TIdComponent exists.
extern TIdStackWindows* GStack;
