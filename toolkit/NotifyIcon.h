// NotifyIcon: one icon of a window in the notification area, with its tip
// and balloons. The owner window gets `callbackMessage` for the icon's mouse
// and keyboard events (read them with Decode). The picture is borrowed: keep
// it alive while shown. Removed when it goes. GUI thread only.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <string>

#include "toolkit/Handles.h"

namespace tk {

class NotifyIcon {
public:
    enum class BalloonKind { Info, Warning };

    // One callback message, in either form the shell sends it.
    struct Event {
        UINT message;  // WM_LBUTTONUP, WM_CONTEXTMENU, NIN_SELECT, NIN_KEYSELECT, ...
        POINT anchor;  // where a menu opens, in screen pixels
    };

    static constexpr std::size_t kTipLength = 127;
    static constexpr std::size_t kBalloonTitleLength = 63;
    static constexpr std::size_t kBalloonTextLength = 255;

    NotifyIcon(HWND owner, UINT id, UINT callbackMessage);
    ~NotifyIcon();
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // Adds the icon, or updates it if the shell still has it. False when the
    // shell refused (none is running yet): Restore tries again.
    bool Show(HICON picture, const std::wstring& tip);
    // While hidden these only remember what the next Show or Restore uses.
    bool SetIcon(HICON picture);
    bool SetTip(const std::wstring& tip);
    // A balloon that keeps quiet (no sound, none in the user's quiet time).
    bool ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonKind kind);
    void Remove();
    // After TaskbarCreatedMessage(): adds the icon again, as it was, if it was shown.
    bool Restore();

    // Between Show and Remove, whether or not the shell took the icon.
    bool Shown() const { return shown_; }
    const std::wstring& Tip() const { return tip_; }
    // The callback form the shell agreed to: 4; 3 or 0 for the older ones.
    UINT Version() const { return version_; }
    Event Decode(WPARAM wParam, LPARAM lParam) const;

    // Broadcast to top-level windows (not message-only ones) when the taskbar
    // is made again, after Explorer restarted or the screen changed.
    static UINT TaskbarCreatedMessage();
    // Lets that message reach `window` of an elevated program; false where refused.
    static bool AllowTaskbarCreated(HWND window);

private:
    NOTIFYICONDATAW Data(UINT flags) const;
    bool Call(DWORD message, NOTIFYICONDATAW& data);
    bool Add();

    HWND owner_;
    UINT id_;
    UINT callbackMessage_;
    HICON picture_ = nullptr;
    std::wstring tip_;
    bool shown_ = false;
    UINT version_ = 0;
    DWORD dataSize_ = sizeof(NOTIFYICONDATAW);
};

// The picture `name` of a multi-size icon resource at `sizePx` square (the
// nearest image the resource has); 0: the system's small-icon size, through
// LoadIconMetric where COMCTL32 has it. Null when there is no such icon.
Icon LoadSmallIcon(HINSTANCE instance, const wchar_t* name, int sizePx = 0);

} // namespace tk
