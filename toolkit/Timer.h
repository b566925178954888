// Timer: a window timer that raises OnTimer every Interval milliseconds while
// Enabled and a handler is set. It keeps a message-only window of its own (a
// CustomControl like every other window of ours), made when it first runs,
// so it works on any owner; the tick runs guarded on the GUI thread.
#pragma once

#include <memory>

#include "toolkit/Events.h"

namespace tk {

class Timer : public Component {
public:
    explicit Timer(Component* owner);
    ~Timer() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetOnTimer(NotifyEvent handler);

private:
    class TickWindow;
    void Update();
    void Tick();

    unsigned interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    NotifyEvent onTimer_;
    std::unique_ptr<TickWindow> window_;
};

} // namespace tk
