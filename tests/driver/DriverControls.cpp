#include "tests/driver/DriverControls.h"

#include <commctrl.h>

#include <cctype>
#include <iterator>

#include "tests/driver/Driver.h"

namespace zvdrive {

namespace {
constexpr UINT kTimeout = 2000;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeout, &result);
    return static_cast<LRESULT>(result);
}

std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

// A rectangle a control's message fills in, through memory in the program's
// process; `rect` goes in first (a list view reads which part from it).
bool RemoteRect(HWND control, UINT message, WPARAM wParam, RECT& rect)
{
    DWORD pid = ProcessOf(control);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool ok = remote && WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr) &&
              Send(control, message, wParam, reinterpret_cast<LPARAM>(remote)) &&
              ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return ok;
}
} // namespace

std::vector<std::string> ComboItems(HWND comboBox)
{
    std::vector<std::string> items;
    LRESULT count = Send(comboBox, CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        LRESULT got = SendMessageW(comboBox, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        items.push_back(Narrow(text));
    }
    return items;
}

HWND ComboEdit(HWND comboBox)
{
    return FindWindowExA(comboBox, nullptr, "Edit", nullptr);
}

bool IsChecked(HWND button)
{
    return Send(button, BM_GETCHECK) == BST_CHECKED;
}

int SelectedTab(HWND tabControl)
{
    return static_cast<int>(Send(tabControl, TCM_GETCURSEL));
}

bool SelectTab(HWND tabControl, int index)
{
    RECT r{};
    if (!RemoteRect(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(index), r))
        return false;
    ClickAt(tabControl, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return WaitUntil([&] { return SelectedTab(tabControl) == index; }, milliseconds(3000));
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

void FocusByClick(HWND control)
{
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void PressKey(HWND target, UINT virtualKey)
{
    UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | static_cast<LPARAM>(scan) << 16);
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | static_cast<LPARAM>(scan) << 16 | 0xC0000000);
}

void TypeText(HWND target, const std::string& text)
{
    for (unsigned char c : text)
        PostMessageA(target, WM_CHAR, c, 1);
}

void EndSession(DWORD pid)
{
    for (HWND window : TopLevelWindows(pid))
        Send(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    for (HWND window : TopLevelWindows(pid))
        Send(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
}

bool RunShell(const std::string& command, std::chrono::milliseconds timeout)
{
    static int runs = 0;
    std::string marker = WorkDir() + "/shell-done-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++runs);
    std::string windowsMarker = WindowsPath(marker);
    DeleteFileA(windowsMarker.c_str());
    if (!StartShell(command + "; touch '" + marker + "'"))
        return false;
    bool done = WaitUntil([&] { return GetFileAttributesA(windowsMarker.c_str()) != INVALID_FILE_ATTRIBUTES; },
                          timeout);
    DeleteFileA(windowsMarker.c_str());
    return done;
}

bool FreezeProcess(const std::string& exePath, std::chrono::seconds duration, const std::string& when)
{
    // Wine shows a program's Windows path as its command line. Any other
    // character matches itself; the brackets keep the pattern from
    // matching the shell that carries it.
    std::string pattern;
    for (char c : exePath)
        pattern += std::isalnum(static_cast<unsigned char>(c)) ? std::string(1, c) : ".";
    pattern = "[" + pattern.substr(0, 1) + "]" + pattern.substr(1);
    const std::string stop = "pid=$(pgrep -f '" + pattern + "') && kill -STOP $pid && sleep " +
                             std::to_string(duration.count()) + "; kill -CONT $pid";
    return RunShell("(for i in $(seq 1000); do if " + when + "; then " + stop +
                        "; break; fi; sleep 0.01; done) >/dev/null 2>&1 & true",
                    std::chrono::seconds(10));
}

std::string ShownTip(HWND window)
{
    const HWND owner = GetAncestor(window, GA_ROOT);
    for (HWND tip : TopLevelWindows(ProcessOf(window), "tooltips_class32")) {
        if (!IsWindowVisible(tip) || GetWindow(tip, GW_OWNER) != owner)
            continue;
        wchar_t wide[2048] = L"";
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(tip, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000, &copied);
        char text[8192] = "";
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        if (text[0])
            return text;
    }
    return {};
}

namespace {
void MovePointer(POINT to)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = to.x * 65535 / (width - 1);
    input.mi.dy = to.y * 65535 / (height - 1);
    SendInput(1, &input, sizeof input);
    Sleep(60);
}
} // namespace

void ParkPointer()
{
    MovePointer({0, 0});
}

std::string HoverTip(HWND window, int x, int y, std::chrono::milliseconds timeout)
{
    POINT at{x, y};
    ClientToScreen(window, &at);
    // Two real moves, so the tip's window sees the pointer arrive and rest.
    MovePointer({at.x + 3, at.y});
    MovePointer(at);
    std::string text;
    WaitUntil([&] { return !(text = ShownTip(window)).empty(); }, timeout);
    return text;
}

namespace {

// xdotool's name of a key.
std::string XKeyName(UINT key)
{
    switch (key) {
    case VK_CONTROL: return "ctrl";
    case VK_SHIFT: return "shift";
    case VK_F10: return "F10";
    case VK_APPS: return "Menu";
    case VK_DOWN: return "Down";
    case VK_UP: return "Up";
    case VK_RETURN: return "Return";
    case VK_ESCAPE: return "Escape";
    case VK_TAB: return "Tab";
    case VK_SPACE: return "space";
    case VK_MENU: return "alt";
    case VK_F1: return "F1";
    case VK_F4: return "F4";
    }
    return std::string(1, static_cast<char>(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key));
}

// The file name box of a save dialog: a combo box in the explorer style, an edit in the old one.
HWND FileNameBox(HWND dialog)
{
    HWND box = GetDlgItem(dialog, 1148);
    return box ? box : GetDlgItem(dialog, 1152);
}

} // namespace

// Through the X server (XTEST), not SendInput: Wine takes the modifier keys'
// state from X events, so keys sent only to Wine can be forgotten on the way.
void SendKeys(std::initializer_list<UINT> chord)
{
    std::string names;
    for (UINT key : chord)
        names += (names.empty() ? "" : "+") + XKeyName(key);
    RunShell("xdotool key --delay 40 " + names, std::chrono::seconds(10));
}

// xdotool's --sync waits for the pointer to move, for seconds when it is
// already there (a second click on the same spot): it waits only when the
// pointer has somewhere to go.
std::string PointerTo(POINT screen)
{
    const std::string x = std::to_string(screen.x), y = std::to_string(screen.y);
    return "eval $(xdotool getmouselocation --shell); [ $X,$Y = " + x + "," + y + " ] || xdotool mousemove --sync " +
           x + " " + y;
}

void SendClick(HWND window, POINT client, std::initializer_list<UINT> held, bool right)
{
    ClientToScreen(window, &client);
    std::string command = PointerTo(client) + "; xdotool";
    for (UINT key : held)
        command += " keydown " + XKeyName(key);
    command += right ? " click 3" : " click 1";
    for (auto key = std::rbegin(held); key != std::rend(held); ++key)
        command += " keyup " + XKeyName(*key);
    RunShell(command + " sleep 0.1", std::chrono::seconds(10));
}

bool ListViewRowRect(HWND listView, int row, RECT& rect)
{
    rect = {LVIR_BOUNDS, 0, 0, 0};
    return RemoteRect(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row), rect);
}

std::vector<int> ListViewSelection(HWND listView)
{
    std::vector<int> rows;
    for (LRESULT row = Send(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); row >= 0;
         row = Send(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))
        rows.push_back(static_cast<int>(row));
    return rows;
}

std::optional<std::wstring> ClipboardText()
{
    std::optional<std::wstring> text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool ClearClipboard()
{
    if (!OpenClipboard(nullptr))
        return false;
    bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied;
}

HWND WaitForSaveDialog(DWORD pid, milliseconds timeout)
{
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows(pid, "#32770"))
                if (IsWindowVisible(w) && FileNameBox(w))
                    dialog = w;
            return dialog != nullptr;
        },
        timeout);
    return dialog;
}

std::string SaveDialogFileName(HWND dialog)
{
    return TextOf(FileNameBox(dialog));
}

bool SaveDialogChoose(HWND dialog, const std::string& path, milliseconds timeout)
{
    HWND box = FileNameBox(dialog);
    if (!box)
        return false;
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), wide.data(), static_cast<int>(wide.size()))));
    SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_ABORTIFHUNG, kTimeout, nullptr);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeout);
}

bool InMenu(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndMenuOwner;
}

} // namespace zvdrive
