// Timer: a window timer that raises OnTimer every Interval milliseconds while
// Enabled and a handler is set. It keeps a message-only window of its own, so
// it works on any owner; the tick runs guarded on the GUI thread.
#pragma once

#include "toolkit/Events.h"
#include "toolkit/Handles.h"

namespace tk {

class Timer : public Component {
public:
    explicit Timer(Component* owner);

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetOnTimer(NotifyEvent handler);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Update();

    unsigned interval_ = 1000;
    bool enabled_ = true;
    NotifyEvent onTimer_;
    Window window_;
};

} // namespace tk
