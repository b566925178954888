#include "tests/driver/DriverDesktop.h"

#include <commctrl.h>

#include <cstdint>

#include "tests/driver/Driver.h"

namespace zvdrive {

namespace {

std::string Utf8(const wchar_t* text)
{
    char utf8[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

bool HasTaskbar(const std::wstring& desktopName)
{
    HDESK desktop = OpenDesktopW(desktopName.c_str(), 0, FALSE, DESKTOP_ENUMERATE);
    if (!desktop)
        return false;
    bool found = false;
    EnumDesktopWindows(
        desktop,
        [](HWND window, LPARAM found) CALLBACK -> BOOL {
            *reinterpret_cast<bool*>(found) |= ClassOf(window) == "Shell_TrayWnd";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    CloseDesktop(desktop);
    return found;
}

} // namespace

VirtualDesktop::VirtualDesktop(const std::wstring& name) : name_(name)
{
    std::wstring command = L"explorer.exe /desktop=" + name + L",800x600";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION shell{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &shell))
        return;
    shell_ = shell.hProcess;
    CloseHandle(shell.hThread);
}

VirtualDesktop::~VirtualDesktop()
{
    if (!shell_)
        return;
    if (WaitForSingleObject(shell_, 10000) != WAIT_OBJECT_0)
        TerminateProcess(shell_, 0);
    CloseHandle(shell_);
}

bool VirtualDesktop::WaitForTaskbar(std::chrono::milliseconds timeout) const
{
    return shell_ && WaitUntil([&] { return HasTaskbar(name_); }, timeout);
}

std::optional<DWORD> VirtualDesktop::RunSelf(const std::string& filter, const char* marker,
                                             std::chrono::milliseconds timeout) const
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        std::wstring(L"\"") + self + L"\" --gtest_filter=" + std::wstring(filter.begin(), filter.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(name_.c_str());
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION run{};
    SetEnvironmentVariableA(marker, "1");
    const bool started =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &run);
    SetEnvironmentVariableA(marker, nullptr);
    if (!started)
        return std::nullopt;
    CloseHandle(run.hThread);
    DWORD code = 0;
    const bool ended = WaitForSingleObject(run.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(run.hProcess, &code);
    if (!ended)
        TerminateProcess(run.hProcess, 1);
    CloseHandle(run.hProcess);
    return ended ? std::optional<DWORD>(code) : std::nullopt;
}

std::optional<POINT> FindOnTaskbar(COLORREF colour)
{
    RECT bar{};
    if (!GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &bar))
        return std::nullopt;
    const int width = bar.right - bar.left, height = bar.bottom - bar.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, bar.left, bar.top, SRCCOPY);
    SelectObject(memory, old);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    const std::uint32_t wanted = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    long sumX = 0, sumY = 0, count = 0;
    for (int y = 0; pixels && y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((pixels[y * width + x] & 0xFFFFFF) == wanted)
                sumX += x, sumY += y, ++count;
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (count == 0)
        return std::nullopt;
    return POINT{bar.left + static_cast<LONG>(sumX / count), bar.top + static_cast<LONG>(sumY / count)};
}

std::string ShownBalloonText()
{
    for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) {
        if (!IsWindowVisible(w) || !(GetWindowLongW(w, GWL_STYLE) & TTS_BALLOON))
            continue;
        wchar_t text[1024] = L"";
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
        return Utf8(text);
    }
    return {};
}

} // namespace zvdrive
