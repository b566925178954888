#include "toolkit/Dpi.h"

#include "toolkit/Handles.h"
#include "toolkit/SystemFunction.h"

namespace tk {

namespace {

// Declared by the headers only for newer systems than the ones we target.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

int ScreenDpi()
{
    ClientDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSX);
}

} // namespace

int WindowDpi(HWND window)
{
    static const auto getDpiForWindow = SystemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    return ScreenDpi();
}

SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi)
{
    static const auto adjustForDpi = SystemFunction<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace tk
