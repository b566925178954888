#include "toolkit/Clipboard.h"

#include <cstring>

#include "toolkit/Win32Error.h"

namespace tk {

namespace {

// The clipboard is shared: another program may hold it for a moment.
bool OpenClipboardSoon(HWND owner)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(20);
    }
    return false;
}

} // namespace

void SetClipboardText(HWND owner, const std::wstring& text)
{
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        throw Win32Error("GlobalAlloc");
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboardSoon(owner)) {
        DWORD code = GetLastError();
        GlobalFree(memory);
        throw Win32Error("OpenClipboard", code);
    }
    EmptyClipboard();
    // Once set, the memory belongs to the clipboard.
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    DWORD code = GetLastError();
    CloseClipboard();
    if (!set) {
        GlobalFree(memory);
        throw Win32Error("SetClipboardData", code);
    }
}

} // namespace tk
