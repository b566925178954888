#include "tests/driver/Driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>

#include "toolkit/DriverProtocol.h"

namespace zvdrive {

namespace {
constexpr UINT kMessageTimeout = 2000;
constexpr DWORD kDisplayLag = 200; // ms

std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& extra)
{
    // Upper-cased names: Windows matches environment names without case.
    std::map<std::string, std::string> vars;
    auto key = [](std::string name) {
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
        return name;
    };
    char* block = GetEnvironmentStringsA();
    for (const char* p = block; *p; p += std::char_traits<char>::length(p) + 1) {
        std::string entry(p);
        std::size_t eq = entry.find('=', 1);
        if (eq != std::string::npos)
            vars[key(entry.substr(0, eq))] = entry;
    }
    FreeEnvironmentStringsA(block);
    for (const auto& [name, value] : extra)
        vars[key(name)] = name + "=" + value;
    std::string result;
    for (const auto& [name, entry] : vars) {
        result += entry;
        result += '\0';
    }
    result += '\0';
    return result;
}

struct EnumState {
    DWORD pid;
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param)
{
    auto* state = reinterpret_cast<EnumState*>(param);
    if (ProcessOf(window) == state->pid && (state->className.empty() || ClassOf(window) == state->className))
        state->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

// A block of memory inside another process, freed with it.
class RemoteMemory {
public:
    RemoteMemory(DWORD pid, std::size_t size)
        : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)), size_(size)
    {
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool Ok() const { return address_ != nullptr; }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(std::size_t offset, const void* data, std::size_t size)
    {
        return offset + size <= size_ && WriteProcessMemory(process_, Address() + offset, data, size, nullptr);
    }
    bool Read(std::size_t offset, void* data, std::size_t size)
    {
        return offset + size <= size_ && ReadProcessMemory(process_, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE process_;
    void* address_ = nullptr;
    std::size_t size_;
};

// True while a shown window, or a window inside one, still has to paint.
bool AnyPaintPending()
{
    std::vector<HWND> windows;
    EnumWindows(CollectChild, reinterpret_cast<LPARAM>(&windows));
    for (HWND top : windows) {
        if (!IsWindowVisible(top))
            continue;
        if (GetUpdateRect(top, nullptr, FALSE))
            return true;
        for (HWND child : Descendants(top))
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE))
                return true;
    }
    return false;
}

// The window the program's answers to graphic queries come back to: one
// message-only window per asking thread, whose procedure keeps the last answer.
struct QueryAnswer {
    HWND from = nullptr;
    bool received = false;
    tk::GraphicQuery record{};
};
thread_local QueryAnswer queryAnswer;

LRESULT CALLBACK AnswerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData != tk::kGraphicQueryTag || data->cbData != sizeof(tk::GraphicQuery) ||
            reinterpret_cast<HWND>(wParam) != queryAnswer.from)
            return 0;
        std::memcpy(&queryAnswer.record, data->lpData, sizeof queryAnswer.record);
        queryAnswer.received = true;
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND AnswerWindow()
{
    thread_local HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = AnswerWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "zvdrive.GraphicAnswer";
        RegisterClassA(&wc); // fails harmlessly for every thread after the first
        return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    }();
    return window;
}

// Asks one window for its windowless control of that name.
std::optional<GraphicInfo> QueryGraphic(HWND host, const std::string& name)
{
    HWND answers = AnswerWindow();
    if (!answers || name.empty() || name.size() >= sizeof(tk::GraphicQuery{}.name))
        return std::nullopt;
    COPYDATASTRUCT request{tk::kGraphicQueryTag, static_cast<DWORD>(name.size()), const_cast<char*>(name.data())};
    queryAnswer = {host, false, {}};
    // The answer arrives while this call waits: sent messages are served meanwhile.
    DWORD_PTR found = 0;
    if (!SendMessageTimeoutA(host, WM_COPYDATA, reinterpret_cast<WPARAM>(answers), reinterpret_cast<LPARAM>(&request),
                             SMTO_ABORTIFHUNG, kMessageTimeout, &found) ||
        found != 1 || !queryAnswer.received)
        return std::nullopt;
    tk::GraphicQuery& query = queryAnswer.record;
    query.text[sizeof query.text - 1] = '\0';
    GraphicInfo info;
    info.host = host;
    info.bounds = {query.left, query.top, query.left + query.width, query.top + query.height};
    info.visible = query.visible != 0;
    info.enabled = query.enabled != 0;
    info.text = query.text;
    return info;
}

bool IsIconStatic(HWND window)
{
    return ClassOf(window) == "Static" && (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// How many of the icon's opaque pixels the screen shows at `shot`.
double IconMatch(HDC shot, int size, LPCSTR iconId)
{
    HICON icon = LoadIconA(nullptr, iconId);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(mem, bitmap);
    RECT all{0, 0, size, size};
    // Drawn on black and on white: pixels equal on both are the icon's opaque ones.
    std::vector<COLORREF> onBlack(static_cast<std::size_t>(size * size));
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawIconEx(mem, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            onBlack[static_cast<std::size_t>(y * size + x)] = GetPixel(mem, x, y);
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(mem, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    int opaque = 0, same = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            COLORREF c = onBlack[static_cast<std::size_t>(y * size + x)];
            if (c != GetPixel(mem, x, y))
                continue;
            ++opaque;
            same += GetPixel(shot, x, y) == c;
        }
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return opaque ? static_cast<double>(same) / opaque : 0.0;
}

// Icons of another process cannot be inspected under Wine (GetIconInfo
// refuses them), so the icon is recognised by its pixels on the screen,
// compared with the system's own stock icons.
BoxIcon RecogniseIcon(HWND iconStatic)
{
    RECT r{};
    GetClientRect(iconStatic, &r);
    int size = std::min<int>(r.right, r.bottom);
    if (size <= 0)
        return BoxIcon::Other;
    const std::pair<LPCSTR, BoxIcon> stock[] = {{IDI_HAND, BoxIcon::Error},
                                                {IDI_EXCLAMATION, BoxIcon::Warning},
                                                {IDI_ASTERISK, BoxIcon::Information},
                                                {IDI_QUESTION, BoxIcon::Question}};
    for (int attempt = 0; attempt < 10; ++attempt) {
        HWND box = GetAncestor(iconStatic, GA_ROOT);
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(50);
        POINT origin{0, 0};
        ClientToScreen(iconStatic, &origin);
        HDC screen = GetDC(nullptr);
        HDC shot = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(shot, bitmap);
        BitBlt(shot, 0, 0, size, size, screen, origin.x, origin.y, SRCCOPY);
        BoxIcon found = BoxIcon::Other;
        for (const auto& [id, kind] : stock)
            if (IconMatch(shot, size, id) > 0.95)
                found = kind;
        SelectObject(shot, old);
        DeleteObject(bitmap);
        DeleteDC(shot);
        ReleaseDC(nullptr, screen);
        if (found != BoxIcon::Other)
            return found;
    }
    return BoxIcon::Other;
}
} // namespace

std::string BuildDir()
{
    const char* dir = std::getenv("ZV_BUILD_DIR");
    if (!dir || !*dir)
        throw std::runtime_error("ZV_BUILD_DIR is not set");
    return dir;
}

std::string WorkDir()
{
    const char* dir = std::getenv("ZV_WINE_STATE");
    return dir && *dir ? std::string(dir) : BuildDir();
}

std::string WorkFile(const std::string& relative)
{
    // The runtime's folder starts empty: the folders above the file are made.
    const std::string path = WorkDir() + "/" + relative;
    for (std::size_t slash = WorkDir().size(); (slash = path.find('/', slash + 1)) != std::string::npos;)
        CreateDirectoryA(WindowsPath(path.substr(0, slash)).c_str(), nullptr);
    return WindowsPath(path);
}

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string BuildFile(const std::string& relative)
{
    return WindowsPath(BuildDir() + "/" + relative);
}

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool WriteLoopbackFiles(const std::string& folder)
{
    return WriteFileBytes(folder + "\\zentvorlumo.ini", "[Ping]\r\nRepeat=100000\r\n") &&
           WriteFileBytes(folder + "\\host.txt", "127.0.0.1\r\n");
}

std::string LoopbackCopy(const std::string& folder, const std::string& program)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\ZentVorlumo.exe";
    if (!WriteLoopbackFiles(folder) || !CopyFileA(program.c_str(), copy.c_str(), FALSE))
        return std::string();
    return copy;
}

Program::Program(const std::string& exePath, const StartOptions& options)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (options.show) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *options.show;
    }
    std::string commandLine = "\"" + exePath + "\"";
    std::string environment = EnvironmentBlock(options.environment);
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(), nullptr,
                        &startup, &info_))
        throw std::runtime_error("cannot start " + exePath + ": error " + std::to_string(GetLastError()));
    // Ready for input: its windows exist or it is about to show them.
    WaitForInputIdle(info_.hProcess, 5000);
}

Program::Program(const std::wstring& exePath)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_))
        throw std::runtime_error("cannot start a program: error " + std::to_string(GetLastError()));
    WaitForInputIdle(info_.hProcess, 5000);
}

Program::~Program()
{
    if (Running())
        Kill();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Program::Running() const
{
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Program::WaitForExit(milliseconds timeout)
{
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void Program::Kill()
{
    TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, 5000);
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[4096] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        kMessageTimeout, &copied);
    return text;
}

std::string NameOf(HWND window)
{
    static const UINT query = RegisterWindowMessageA(tk::kNameQueryMessage);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(GetAncestor(window, GA_ROOT), query, reinterpret_cast<WPARAM>(window), 0,
                             SMTO_ABORTIFHUNG, kMessageTimeout, &answer) ||
        !answer)
        return {};
    const auto atom = static_cast<ATOM>(answer);
    char name[256] = "";
    GlobalGetAtomNameA(atom, name, sizeof name);
    GlobalDeleteAtom(atom);
    return name;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<HWND> TopLevelWindows(DWORD pid, const std::string& className)
{
    EnumState state{pid, className, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND WaitForWindow(DWORD pid, const std::string& className, milliseconds timeout)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            auto windows = TopLevelWindows(pid, className);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeout);
    return found;
}

HWND FindControl(HWND parent, const std::string& className, const std::string& text)
{
    for (HWND child : Descendants(parent))
        if (ClassOf(child) == className && TextOf(child) == text)
            return child;
    return nullptr;
}

HWND FindNamedControl(HWND parent, const std::string& name)
{
    for (HWND child : Descendants(parent))
        if (NameOf(child) == name)
            return child;
    return nullptr;
}

std::optional<GraphicInfo> FindGraphic(HWND window, const std::string& name)
{
    if (auto info = QueryGraphic(window, name))
        return info;
    for (HWND child : Descendants(window))
        if (auto info = QueryGraphic(child, name))
            return info;
    return std::nullopt;
}

bool Responsive(HWND window, milliseconds timeout)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeout.count()), &result);
}

void Click(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

void ClickAt(HWND window, int x, int y)
{
    LPARAM at = MAKELPARAM(x, y);
    PostMessageA(window, WM_MOUSEMOVE, 0, at);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

bool ClickGraphic(HWND window, const std::string& name)
{
    auto graphic = FindGraphic(window, name);
    if (!graphic)
        return false;
    const RECT& b = graphic->bounds;
    ClickAt(graphic->host, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    return true;
}

void Close(HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
}

int ListViewRowCount(HWND listView)
{
    DWORD_PTR count = 0;
    SendMessageTimeoutA(listView, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout, &count);
    return static_cast<int>(count);
}

std::string ListViewCell(HWND listView, int row, int column)
{
    // The item and its text buffer must live in the list view's process.
    constexpr std::size_t kTextSize = 1024;
    RemoteMemory remote(ProcessOf(listView), sizeof(LVITEMA) + kTextSize);
    if (!remote.Ok())
        return {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remote.Address() + sizeof(LVITEMA);
    item.cchTextMax = kTextSize;
    char text[kTextSize] = "";
    DWORD_PTR length = 0;
    if (!remote.Write(0, &item, sizeof item) || !remote.Write(sizeof item, text, 1) ||
        !SendMessageTimeoutA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG, kMessageTimeout, &length) ||
        !remote.Read(sizeof item, text, kTextSize))
        return {};
    text[kTextSize - 1] = '\0';
    return text;
}

std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns)
{
    std::vector<std::vector<std::string>> rows;
    int count = ListViewRowCount(listView);
    for (int r = 0; r < count; ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < columns; ++c)
            cells.push_back(ListViewCell(listView, r, c));
        rows.push_back(std::move(cells));
    }
    return rows;
}

const char* ToString(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Error: return "error";
    case BoxIcon::Warning: return "warning";
    case BoxIcon::Information: return "information";
    case BoxIcon::Question: return "question";
    case BoxIcon::Other: return "other";
    }
    return "?";
}

std::vector<HWND> MessageBoxes(DWORD pid)
{
    std::vector<HWND> boxes;
    for (HWND w : TopLevelWindows(pid, "#32770"))
        if (IsWindowVisible(w))
            boxes.push_back(w);
    return boxes;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, milliseconds timeout)
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            auto boxes = MessageBoxes(pid);
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr;
        },
        timeout);
    if (!box)
        return std::nullopt;
    return ReadMessageBox(box);
}

MessageBoxInfo ReadMessageBox(HWND box)
{
    MessageBoxInfo info;
    info.window = box;
    info.title = TextOf(box);
    HWND iconStatic = nullptr;
    std::string longestStatic;
    for (HWND child : Descendants(box)) {
        std::string cls = ClassOf(child);
        if (cls == "Button") {
            info.buttons.push_back(TextOf(child));
        } else if (IsIconStatic(child)) {
            iconStatic = child;
        } else if (cls == "Static") {
            // The message text is the static with id 0xFFFF on Windows and under Wine.
            std::string text = TextOf(child);
            if (GetDlgCtrlID(child) == 0xFFFF || text.size() > longestStatic.size())
                longestStatic = text;
            if (GetDlgCtrlID(child) == 0xFFFF)
                info.text = text;
        }
    }
    if (info.text.empty())
        info.text = longestStatic;
    info.icon = iconStatic && IsWindowVisible(iconStatic) ? RecogniseIcon(iconStatic) : BoxIcon::None;
    return info;
}

bool PressOk(HWND box, milliseconds timeout)
{
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok)
        return false;
    Click(ok);
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeout);
}

bool StartShell(const std::string& command)
{
    std::string line = "Z:\\bin\\sh -c \"" + command + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine starts a Linux program outside its process table: no process
    // handle, and junk in the thread field. Closing that junk once closed
    // the test's own standard output, so nothing here is closed.
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
}

std::string Screenshot(const std::string& name)
{
    std::string dir = WorkDir() + "/screenshots";
    CreateDirectoryA(WindowsPath(dir).c_str(), nullptr);
    std::string file = dir + "/" + name + ".png";
    std::string partial = file + ".part";
    DeleteFileA(WindowsPath(file).c_str());
    // The display lags behind the programs: a window just shown may not have
    // painted yet, and Wine passes what was painted on to X a little later.
    WaitUntil([] { return !AnyPaintPending(); }, milliseconds(3000));
    Sleep(kDisplayLag);
    // The finished file is renamed into place: the shell cannot be waited on.
    if (!StartShell("import -window root 'png:" + partial + "' && mv '" + partial + "' '" + file + "'"))
        return {};
    std::string windowsFile = WindowsPath(file);
    bool saved = WaitUntil([&] { return GetFileAttributesA(windowsFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
                           milliseconds(10000));
    return saved ? file : std::string();
}

} // namespace zvdrive
