#include "toolkit/Timer.h"

#include "toolkit/CustomControl.h"
#include "toolkit/Win32Error.h"

namespace tk {

namespace {
constexpr UINT_PTR kTimerId = 1;
} // namespace

// The timer's message-only window; found through the common window procedure.
class Timer::TickWindow : public CustomControl {
public:
    explicit TickWindow(Timer& timer) : CustomControl(nullptr, nullptr), timer_(timer)
    {
        CreateCustom("tk.Timer", "", 0, 0, {0, 0, 0, 0}, HWND_MESSAGE);
    }

protected:
    void OnTimer(UINT_PTR id) override
    {
        if (id == kTimerId)
            timer_.Tick();
    }

private:
    Timer& timer_;
};

Timer::Timer(Component* owner) : Component(owner) {}

Timer::~Timer() = default;

void Timer::SetInterval(unsigned milliseconds)
{
    interval_ = milliseconds;
    Update();
}

void Timer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Update();
}

void Timer::SetOnTimer(NotifyEvent handler)
{
    onTimer_ = std::move(handler);
    Update();
}

void Timer::Update()
{
    // SetTimer on the same id restarts the count by itself: a kill first
    // would be one more server call at every re-arm. The window is made when
    // the timer first runs, and a timer that does not run is not killed: a
    // timer that never runs costs no server call.
    if (enabled_ && interval_ > 0 && onTimer_) {
        if (!window_)
            window_ = std::make_unique<TickWindow>(*this);
        if (!SetTimer(window_->Handle(), kTimerId, interval_, nullptr))
            throw Win32Error("SetTimer");
        running_ = true;
    } else if (running_) {
        KillTimer(window_->Handle(), kTimerId);
        running_ = false;
    }
}

void Timer::Tick()
{
    if (onTimer_)
        onTimer_(this);
}

} // namespace tk
