#include "toolkit/Timer.h"

#include "toolkit/Guarded.h"
#include "toolkit/Win32Error.h"

namespace tk {

namespace {
constexpr const char* kClassName = "tk.Timer";
constexpr UINT_PTR kTimerId = 1;

void RegisterTimerClass(HINSTANCE instance, WNDPROC proc)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, kClassName, &wc))
        return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc))
        throw Win32Error("RegisterClassEx");
}
} // namespace

Timer::Timer(Component* owner) : Component(owner)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterTimerClass(instance, WindowProc);
    window_.Reset(CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
    if (!window_)
        throw Win32Error("CreateWindowEx");
    SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

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
    KillTimer(window_.Get(), kTimerId);
    if (enabled_ && interval_ > 0 && onTimer_ && !SetTimer(window_.Get(), kTimerId, interval_, nullptr))
        throw Win32Error("SetTimer");
}

LRESULT CALLBACK Timer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        auto* self = reinterpret_cast<Timer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && self->onTimer_)
            Guarded([self] { self->onTimer_(self); });
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace tk
