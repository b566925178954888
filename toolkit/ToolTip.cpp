#include "toolkit/ToolTip.h"

#include "toolkit/CustomControl.h"
#include "toolkit/Win32Error.h"
#include "toolkit/WinFileSystem.h"

namespace tk {

namespace {

// Wider than any line the tips hold: a maximum width is what makes a
// tooltip break its text at line ends.
constexpr int kMaxTipWidth = 1000;

} // namespace

ToolTip::ToolTip(Component* owner, WinControl* form) : WinControl(owner, nullptr)
{
    // Always: the compact window is often not the active one while watched.
    HWND window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form->Handle(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window)
        throw Win32Error("CreateWindowEx");
    Attach(window);
    SendMessageW(window, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
}

void ToolTip::Add(TTTOOLINFOW& tool)
{
    tool.cbSize = sizeof tool;
    // The window the pointer moves over hands its mouse messages on itself
    // when it is one of ours; others are subclassed by the tip.
    const HWND over = tool.uFlags & TTF_IDISHWND ? reinterpret_cast<HWND>(tool.uId) : tool.hwnd;
    if (auto* custom = dynamic_cast<CustomControl*>(FromHandle(over)))
        custom->RelayMouseTo(Handle());
    else
        tool.uFlags |= TTF_SUBCLASS;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTip::AddTool(GraphicControl* control)
{
    const Rect b = control->Bounds();
    TTTOOLINFOW tool{};
    tool.hwnd = control->Parent()->Handle();
    tool.uId = nextId_++;
    tool.rect = {b.left, b.top, b.left + b.width, b.top + b.height};
    Add(tool);
}

void ToolTip::AddTool(WinControl* control)
{
    TTTOOLINFOW tool{};
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = control->Parent() ? control->Parent()->Handle() : control->Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(control->Handle());
    Add(tool);
}

void ToolTip::Refresh()
{
    if (!Showing())
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    if (!SendMessageW(Handle(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
        return;
    // The same callback again: the tip asks for its text anew and redraws.
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(Handle(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT ToolTip::Notify(NMHDR& header)
{
    // An ANSI window (as ours are) is asked in ANSI: the text then goes
    // through the system's code page.
    if (header.code == TTN_GETDISPINFOW) {
        text_ = OnText ? WideFromUtf8(OnText()) : std::wstring();
        reinterpret_cast<NMTTDISPINFOW&>(header).lpszText = text_.data();
    } else if (header.code == TTN_GETDISPINFOA) {
        text_ = OnText ? WideFromUtf8(OnText()) : std::wstring();
        const int size = WideCharToMultiByte(CP_ACP, 0, text_.data(), static_cast<int>(text_.size()), nullptr, 0,
                                             nullptr, nullptr);
        ansi_.assign(static_cast<std::size_t>(size) + 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, text_.data(), static_cast<int>(text_.size()), ansi_.data(), size, nullptr,
                            nullptr);
        reinterpret_cast<NMTTDISPINFOA&>(header).lpszText = ansi_.data();
    }
    return 0;
}

} // namespace tk
