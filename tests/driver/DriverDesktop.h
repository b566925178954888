// Driver additions for the notification area: a Wine virtual desktop with a
// taskbar (a desktop of its own, so the test program starts itself again
// there), where a colour shows on that taskbar, and the text of the balloon
// its shell shows. Bounded like the rest of the driver; empty on failure.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace zvdrive {

// `explorer.exe /desktop=NAME,800x600`; it closes once its last program
// ends, or is ended 10 s after the object goes.
class VirtualDesktop {
public:
    explicit VirtualDesktop(const std::wstring& name);
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    bool WaitForTaskbar(std::chrono::milliseconds timeout) const;
    // Runs this test program there with `filter` as its --gtest_filter,
    // the variable `marker` set to 1 and this program's standard handles;
    // its exit code, or nothing after `timeout`.
    std::optional<DWORD> RunSelf(const std::string& filter, const char* marker,
                                 std::chrono::milliseconds timeout) const;

private:
    std::wstring name_;
    HANDLE shell_ = nullptr;
};

// Where a colour shows on this desktop's taskbar (the middle of its pixels),
// read off the screen.
std::optional<POINT> FindOnTaskbar(COLORREF colour);

// The text of the notification area's balloon showing now, in UTF-8, or "".
// Its title cannot be read: Wine 8's tooltips do not answer TTM_GETTITLE.
std::string ShownBalloonText();

} // namespace zvdrive
