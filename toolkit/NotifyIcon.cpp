#include "toolkit/NotifyIcon.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "toolkit/SystemFunction.h"

namespace tk {

static_assert(std::size(NOTIFYICONDATAW{}.szTip) == NotifyIcon::kTipLength + 1);
static_assert(std::size(NOTIFYICONDATAW{}.szInfoTitle) == NotifyIcon::kBalloonTitleLength + 1);
static_assert(std::size(NOTIFYICONDATAW{}.szInfo) == NotifyIcon::kBalloonTextLength + 1);

namespace {

// At most `length` UTF-16 units, never ending on the first half of a pair.
std::wstring CutText(const std::wstring& text, std::size_t length)
{
    if (text.size() <= length)
        return text;
    if (length > 0 && IS_HIGH_SURROGATE(text[length - 1]))
        --length;
    return text.substr(0, length);
}

template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text)
{
    const std::wstring cut = CutText(text, N - 1);
    std::copy(cut.begin(), cut.end(), field);
    field[cut.size()] = L'\0';
}

POINT PointOf(DWORD packed)
{
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

} // namespace

NotifyIcon::NotifyIcon(HWND owner, UINT id, UINT callbackMessage)
    : owner_(owner), id_(id), callbackMessage_(callbackMessage)
{
}

NotifyIcon::~NotifyIcon()
{
    Remove();
}

bool NotifyIcon::Show(HICON picture, const std::wstring& tip)
{
    picture_ = picture;
    tip_ = CutText(tip, kTipLength);
    shown_ = true;
    return Add();
}

bool NotifyIcon::SetIcon(HICON picture)
{
    picture_ = picture;
    NOTIFYICONDATAW data = Data(NIF_ICON);
    return !shown_ || Call(NIM_MODIFY, data);
}

bool NotifyIcon::SetTip(const std::wstring& tip)
{
    tip_ = CutText(tip, kTipLength);
    NOTIFYICONDATAW data = Data(NIF_TIP);
    return !shown_ || Call(NIM_MODIFY, data);
}

bool NotifyIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonKind kind)
{
    if (!shown_)
        return false;
    NOTIFYICONDATAW data = Data(NIF_INFO);
    CopyField(data.szInfoTitle, title);
    CopyField(data.szInfo, text);
    // The program plays its own alert sound, if the user wants one.
    data.dwInfoFlags = (kind == BalloonKind::Warning ? NIIF_WARNING : NIIF_INFO) | NIIF_NOSOUND |
                       NIIF_RESPECT_QUIET_TIME;
    return Call(NIM_MODIFY, data);
}

void NotifyIcon::Remove()
{
    if (!shown_)
        return;
    shown_ = false;
    NOTIFYICONDATAW data = Data(0);
    Call(NIM_DELETE, data);
}

bool NotifyIcon::Restore()
{
    return shown_ && Add();
}

NotifyIcon::Event NotifyIcon::Decode(WPARAM wParam, LPARAM lParam) const
{
    if (version_ >= NOTIFYICON_VERSION_4)
        return {LOWORD(lParam), PointOf(static_cast<DWORD>(wParam))};
    // The old form carries no point. GetMessagePos would be stale for a sent
    // callback, so the pointer's position now stands in.
    POINT pointer{};
    GetCursorPos(&pointer);
    return {static_cast<UINT>(lParam), pointer};
}

UINT NotifyIcon::TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

bool NotifyIcon::AllowTaskbarCreated(HWND window)
{
    static const auto changeFilter =
        SystemFunction<decltype(&ChangeWindowMessageFilterEx)>(L"user32.dll", "ChangeWindowMessageFilterEx");
    return changeFilter && changeFilter(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

NOTIFYICONDATAW NotifyIcon::Data(UINT flags) const
{
    NOTIFYICONDATAW data{};
    data.cbSize = dataSize_;
    data.hWnd = owner_;
    data.uID = id_;
    data.uFlags = flags;
    if (flags & NIF_MESSAGE)
        data.uCallbackMessage = callbackMessage_;
    if (flags & NIF_ICON)
        data.hIcon = picture_;
    if (flags & NIF_TIP) {
        CopyField(data.szTip, tip_);
        // In the newer callback form the shell shows the tip only when asked to.
        if (dataSize_ == sizeof(NOTIFYICONDATAW))
            data.uFlags |= NIF_SHOWTIP;
    }
    return data;
}

bool NotifyIcon::Call(DWORD message, NOTIFYICONDATAW& data)
{
    static const auto shellNotifyIcon =
        SystemFunction<decltype(&Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
    return shellNotifyIcon && shellNotifyIcon(message, &data);
}

bool NotifyIcon::Add()
{
    // A shell older than the structure refuses its full size; after a restart
    // or a change of screen the icon may still be there, so modify it then.
    for (DWORD size : {static_cast<DWORD>(sizeof(NOTIFYICONDATAW)), static_cast<DWORD>(NOTIFYICONDATAW_V3_SIZE)}) {
        dataSize_ = size;
        NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
        if (!Call(NIM_ADD, data) && !Call(NIM_MODIFY, data))
            continue;
        version_ = 0;
        for (UINT version : {NOTIFYICON_VERSION_4, NOTIFYICON_VERSION}) {
            NOTIFYICONDATAW request = Data(0);
            request.uVersion = version;
            if (Call(NIM_SETVERSION, request)) {
                version_ = version;
                break;
            }
        }
        return true;
    }
    dataSize_ = sizeof(NOTIFYICONDATAW);
    return false;
}

Icon LoadSmallIcon(HINSTANCE instance, const wchar_t* name, int sizePx)
{
    if (sizePx <= 0) {
        static const auto loadIconMetric =
            SystemFunction<decltype(&LoadIconMetric)>(L"comctl32.dll", "LoadIconMetric");
        HICON icon = nullptr;
        if (loadIconMetric && SUCCEEDED(loadIconMetric(instance, name, LIM_SMALL, &icon)))
            return Icon(icon);
        sizePx = GetSystemMetrics(SM_CXSMICON);
    }
    return Icon(static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, sizePx, sizePx, LR_DEFAULTCOLOR)));
}

} // namespace tk
