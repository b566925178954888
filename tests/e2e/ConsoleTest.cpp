// The console window end to end: the real program copied into a scratch
// folder of its own, so its settings file and host history start as each
// case prepares them, driven from outside; a minute's freeze of it while
// it pings loopback is a sleep. Screenshots of the four tabs land in the
// build tree's screenshots folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/driver/Driver.h"
#include "tests/driver/DriverControls.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

std::string ReadAll(const std::string& path)
{
    return ReadFileBytes(path).value_or("(missing)");
}

void WriteAll(const std::string& path, const std::string& text)
{
    ASSERT_TRUE(WriteFileBytes(path, text)) << path;
}

// The key names of an INI text, in file order, as "[section]key" entries.
std::vector<std::string> KeysInOrder(const std::string& ini)
{
    std::vector<std::string> keys;
    std::string section;
    std::size_t start = 0;
    while (start < ini.size()) {
        std::size_t end = ini.find('\n', start);
        std::string line = ini.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? ini.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[')
            section = line;
        else if (auto eq = line.find('='); eq != std::string::npos)
            keys.push_back(section + line.substr(0, eq));
    }
    return keys;
}

// One copy of the program in a folder of its own.
class ConsoleFolder {
public:
    // `program`: the shipped build, or the test build with its hooks, copied under the shipped name.
    explicit ConsoleFolder(const std::string& name, const char* program = "app/ZentVorlumo.exe")
        : unixDir_(WorkDir() + "/tests/e2e/console/" + name)
    {
        SetImmutable(false); // left over from a run that was cut short
        std::string parent = WorkFile("tests/e2e/console");
        CreateDirectoryA(parent.c_str(), nullptr);
        dir_ = parent + "\\" + name;
        CreateDirectoryA(dir_.c_str(), nullptr);
        for (const char* file : {"zentvorlumo.ini", "host.txt"}) {
            SetFileAttributesA(File(file).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(File(file).c_str());
            RemoveDirectoryA(File(file).c_str());
        }
        EXPECT_TRUE(CopyFileA(BuildFile(program).c_str(), Exe().c_str(), FALSE));
    }

    std::string File(const std::string& name) const { return dir_ + "\\" + name; }
    const std::string& UnixDir() const { return unixDir_; }
    std::string Exe() const { return File("ZentVorlumo.exe"); }
    std::string Ini() const { return File("zentvorlumo.ini"); }
    std::string Hosts() const { return File("host.txt"); }
    std::string Setting(const char* section, const char* key) const
    {
        char value[256] = "";
        GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, Ini().c_str());
        return value;
    }

    // The tests run as root, for whom no file mode is read-only: an immutable
    // folder (or file) is. False where the file system has no such flag.
    bool SetImmutable(bool on, const std::string& only = "") const
    {
        std::string target = "'" + unixDir_ + (only.empty() ? "' '" + unixDir_ + "'/*" : "/" + only + "'");
        std::string command = std::string("chattr ") + (on ? "+i " : "-i ") + target + " 2>/dev/null";
        if (!RunShell(command, 10s))
            return false;
        if (!on)
            return true;
        HANDLE probe = CreateFileA(File(only.empty() ? "probe" : only).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                   0, nullptr);
        if (probe == INVALID_HANDLE_VALUE)
            return true;
        CloseHandle(probe);
        return false;
    }

private:
    std::string unixDir_;
    std::string dir_;
};

// Takes the immutable flag off again, whatever happens in between.
class ImmutableScope {
public:
    explicit ImmutableScope(const ConsoleFolder& folder) : folder_(folder) {}
    ~ImmutableScope() { folder_.SetImmutable(false); }

private:
    const ConsoleFolder& folder_;
};

// The running program with its console found and created to the end.
struct Console {
    explicit Console(const ConsoleFolder& folder) : Console(folder.Exe()) {}
    template <class Path>
    explicit Console(const Path& exe) : program(exe)
    {
        main = WaitForWindow(program.Pid(), "TFormMain", 20s);
        window = WaitForWindow(program.Pid(), "TFormSetings", 20s);
        // Its creation handler has run once the About page shows the version.
        created = window && WaitUntil([&] {
            auto version = FindGraphic(window, "lbVersion");
            return version && version->text != "1.0.1.4";
        }, 20s);
    }

    HWND Control(const char* name) const { return FindNamedControl(window, name); }
    std::string Text(const char* name) const { return TextOf(Control(name)); }
    std::string Graphic(const char* name) const
    {
        auto graphic = FindGraphic(window, name);
        return graphic ? graphic->text : "(none)";
    }
    std::string HostLabel() const
    {
        auto label = FindGraphic(main, "lbHost");
        return label ? label->text : "(none)";
    }
    void Show() const
    {
        ShowWindow(window, SW_SHOWNORMAL);
        WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5s);
    }
    // Closes the main window and waits for the end, answering error boxes.
    std::vector<std::string> CloseCollectingErrors()
    {
        std::vector<std::string> errors;
        Close(main);
        for (int i = 0; i < 5 && program.Running(); ++i) {
            auto box = WaitForMessageBox(program.Pid(), 3s);
            if (!box)
                continue;
            errors.push_back(box->text);
            PressOk(box->window);
        }
        auto code = program.WaitForExit(15s);
        EXPECT_EQ(code.value_or(999), 0u);
        return errors;
    }

    Program program;
    HWND main = nullptr;
    HWND window = nullptr;
    bool created = false;
};

// What a window shows on the screen now, every other pixel (copied from the
// screen: another process's window DC reads nothing under Wine). Tests
// that run beside this one open windows of their own anywhere on the
// screen: the window's top-level window stays in front of them.
std::vector<COLORREF> Pixels(HWND window)
{
    const HWND root = GetAncestor(window, GA_ROOT);
    if (!(GetWindowLongA(root, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        SetWindowPos(root, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Sleep(300); // what was covered paints again
    }
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC dc = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, r.right, r.bottom, dc, origin.x, origin.y, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; y += 2)
        for (int x = 0; x < r.right; x += 2)
            pixels.push_back(GetPixel(copy, x, y));
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, dc);
    return pixels;
}

const char* const kFields[] = {"speMaxLine", "speTimeout", "speRepeat", "speMaxHosts", "speBuffer"};

} // namespace

// A first start without files: the defaults (with "Clear logs on start"
// checked), the layout, the About page and, at the end, a settings file
// with the eleven keys in their order and an empty history.
TEST(Console, FirstStartUsesTheDefaultsAndWritesEveryKeyAtTheEnd)
{
    ConsoleFolder folder("first-start");
    Console console(folder);
    ASSERT_TRUE(console.created);
    std::vector<std::string> values;
    for (const char* field : kFields)
        values.push_back(console.Text(field));
    EXPECT_EQ(values, (std::vector<std::string>{"100", "1000", "1000", "10", "8192"}));
    EXPECT_TRUE(IsChecked(console.Control("chbClearLogs")));
    for (const char* box : {"chbErrLines", "chbIgnoreFirst", "chb3D"})
        EXPECT_FALSE(IsChecked(console.Control(box))) << box;
    EXPECT_EQ(console.Text("cbHost"), "192.168.1.1");
    EXPECT_TRUE(ComboItems(console.Control("cbHost")).empty());
    EXPECT_EQ(console.Text("spbRepPing"), "Start repeat Ping");
    EXPECT_EQ(console.Graphic("lbVersion"), "1.8.0.0");
    EXPECT_EQ(SelectedTab(console.Control("PageControl1")), 0);

    RECT outer{}, client{};
    GetWindowRect(console.window, &outer);
    GetClientRect(console.window, &client);
    EXPECT_EQ(client.right, 574);
    EXPECT_EQ(outer.bottom - outer.top, 403);

    console.Show();
    const char* shots[] = {"console-ping-information", "console-error-logs", "console-setings", "console-about"};
    for (int tab = 0; tab < 4; ++tab) {
        ASSERT_TRUE(SelectTab(console.Control("PageControl1"), tab)) << tab;
        EXPECT_FALSE(Screenshot(shots[tab]).empty()) << shots[tab];
    }
    // The pointer over a link underlines it; leaving takes the line away.
    auto link = FindGraphic(console.window, "Label19");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->text, "The Idny project ");
    std::vector<COLORREF> plain = Pixels(link->host);
    PostMessageA(link->host, WM_MOUSEMOVE, 0, MAKELPARAM(link->bounds.left + 3, link->bounds.top + 3));
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link->host) != plain; }, 3s)) << "no underline";
    PostMessageA(link->host, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(link->host) == plain; }, 3s)) << "the underline stayed";
    EXPECT_TRUE(console.CloseCollectingErrors().empty());

    EXPECT_EQ(KeysInOrder(ReadAll(folder.Ini())),
              (std::vector<std::string>{"[Data and Logs]MaxLines", "[Data and Logs]LinesErrors",
                                        "[Data and Logs]AutoClearLogs", "[Data and Logs]IgnoreFirst", "[Graph]3D",
                                        "[Graph]AVGColor", "[Graph]DataColor", "[Ping]Repeat", "[Ping]TimeOut",
                                        "[Ping]MaxHosts", "[Ping]Buffer"}));
    EXPECT_EQ(folder.Setting("Data and Logs", "AutoClearLogs"), "1");
    EXPECT_EQ(folder.Setting("Graph", "AVGColor"), "65535");
    EXPECT_EQ(folder.Setting("Graph", "DataColor"), "8421376");
    EXPECT_EQ(ReadAll(folder.Hosts()), "");
}

// Odd stored values are read as the program reads numbers and clamped by
// the fields; a colour the choosers do not offer is kept; other sections
// stay; the history keeps its blank line and gains CR LF line ends.
TEST(Console, PreparedFilesAreReadAndWrittenBack)
{
    ConsoleFolder folder("prepared");
    WriteAll(folder.Ini(), "[Mine]\r\nkeep=this\r\n[Data and Logs]\r\nMaxLines=5\r\nLinesErrors=2\r\n"
                           "AutoClearLogs=0\r\nIgnoreFirst=0x1\r\n[Graph]\r\n3D=1\r\nAVGColor=$FF\r\n"
                           "DataColor=1193046\r\n[Ping]\r\nTimeOut=$1F4\r\nRepeat=abc\r\nMaxHosts=200\r\n"
                           "Buffer=-5\r\n");
    WriteAll(folder.Hosts(), "First.example\r\nsecond\rthird\n\n  fifth ");
    Console console(folder);
    ASSERT_TRUE(console.created);
    std::vector<std::string> values;
    for (const char* field : kFields)
        values.push_back(console.Text(field));
    EXPECT_EQ(values, (std::vector<std::string>{"10", "500", "1000", "100", "1024"}));
    EXPECT_TRUE(IsChecked(console.Control("chbErrLines")));
    EXPECT_FALSE(IsChecked(console.Control("chbClearLogs")));
    EXPECT_TRUE(IsChecked(console.Control("chbIgnoreFirst")));
    EXPECT_TRUE(IsChecked(console.Control("chb3D")));
    EXPECT_EQ(ComboItems(console.Control("cbHost")),
              (std::vector<std::string>{"First.example", "second", "third", "", "  fifth "}));
    EXPECT_EQ(console.Text("cbHost"), "First.example");
    EXPECT_EQ(console.HostLabel(), "First.example");
    EXPECT_TRUE(console.CloseCollectingErrors().empty());

    EXPECT_EQ(folder.Setting("Mine", "keep"), "this");
    EXPECT_EQ(folder.Setting("Data and Logs", "MaxLines"), "10");
    EXPECT_EQ(folder.Setting("Data and Logs", "LinesErrors"), "1");
    EXPECT_EQ(folder.Setting("Graph", "AVGColor"), "255");
    EXPECT_EQ(folder.Setting("Graph", "DataColor"), "1193046");
    EXPECT_EQ(folder.Setting("Ping", "TimeOut"), "500");
    EXPECT_EQ(folder.Setting("Ping", "Buffer"), "1024");
    EXPECT_EQ(ReadAll(folder.Hosts()), "First.example\r\nsecond\r\nthird\r\n\r\n  fifth \r\n");
}

// Files from outside are input: a history of 100,000 lines with a line of a
// megabyte and NUL bytes, and a settings file of binary junk, load quickly
// and the history is written back without losing a byte.
TEST(Console, HostileFilesLoadQuicklyAndLoseNothing)
{
    ConsoleFolder folder("hostile");
    std::string junk;
    for (int i = 0; i < 20000; ++i)
        junk += static_cast<char>((i * 7919) % 256);
    WriteAll(folder.Ini(), "[Ping]\r\nTimeOut=" + std::string(100000, '9') + "\r\n" + junk);
    std::string hosts;
    for (int i = 0; i < 100000; ++i)
        hosts += "host" + std::to_string(i) + ".example\r\n";
    hosts += std::string(1 << 20, 'm') + "\r\n";
    hosts += std::string("nul\0byte", 8) + "\r\n";
    WriteAll(folder.Hosts(), hosts);

    auto start = std::chrono::steady_clock::now();
    Console console(folder);
    ASSERT_TRUE(console.created);
    ASSERT_TRUE(Responsive(console.window, 5000ms));
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("start-up with 100,002 history lines: %.2f s\n", seconds);
    EXPECT_LT(seconds, 10.0);
    EXPECT_EQ(SendMessageA(console.Control("cbHost"), CB_GETCOUNT, 0, 0), 100002);
    EXPECT_EQ(console.Text("speTimeout"), "1000");
    EXPECT_TRUE(console.CloseCollectingErrors().empty());
    EXPECT_TRUE(ReadAll(folder.Hosts()) == hosts) << "the history changed";
}

// A read-only folder: both files fail, in one box, and nothing is lost; a history that cannot be written says so;
// one that cannot be opened leaves the list empty. Full paths in every text.
TEST(Console, ReadOnlyFilesGiveTheirErrorsAndLoseNothing)
{
    {
        ConsoleFolder folder("read-only");
        WriteAll(folder.Ini(), "[Ping]\r\nTimeOut=700\r\n");
        WriteAll(folder.Hosts(), "kept\r\n");
        ImmutableScope scope(folder);
        if (!folder.SetImmutable(true))
            GTEST_SKIP() << "no immutable folders on this file system";
        Console console(folder);
        ASSERT_TRUE(console.created);
        EXPECT_EQ(console.Text("speTimeout"), "700");
        // The history is still tried; both failures share one box.
        EXPECT_EQ(console.CloseCollectingErrors(),
                  std::vector<std::string>{"Unable to write to " + folder.Ini() + ".\r\nCannot create file " +
                                           folder.Hosts() + "."});
        EXPECT_EQ(ReadAll(folder.Ini()), "[Ping]\r\nTimeOut=700\r\n");
        EXPECT_EQ(ReadAll(folder.Hosts()), "kept\r\n");
    }
    {
        ConsoleFolder folder("history-read-only");
        WriteAll(folder.Hosts(), "kept\r\n");
        ImmutableScope scope(folder);
        ASSERT_TRUE(folder.SetImmutable(true, "host.txt"));
        Console console(folder);
        ASSERT_TRUE(console.created);
        EXPECT_EQ(console.CloseCollectingErrors(),
                  std::vector<std::string>{"Cannot create file " + folder.Hosts() + "."});
        EXPECT_EQ(folder.Setting("Ping", "TimeOut"), "1000") << "the settings were saved first";
        EXPECT_EQ(ReadAll(folder.Hosts()), "kept\r\n");
    }
    {
        ConsoleFolder folder("history-unopenable");
        CreateDirectoryA(folder.Hosts().c_str(), nullptr);
        Program program(folder.Exe());
        auto box = WaitForMessageBox(program.Pid(), 20s);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, "Cannot open file " + folder.Hosts() + ".");
        PressOk(box->window);
        HWND window = WaitForWindow(program.Pid(), "TFormSetings", 10s);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(ComboItems(FindNamedControl(window, "cbHost")).empty());
        EXPECT_EQ(TextOf(FindNamedControl(window, "cbHost")), "192.168.1.1");
        program.Kill();
        RemoveDirectoryA(folder.Hosts().c_str());
    }
}

// A numeric field that takes the focus, by a click or by Tab, keeps its
// arrows on the screen.
TEST(Console, NumericFieldsKeepTheirArrowsWhenFocused)
{
    ConsoleFolder folder("arrows");
    Console console(folder);
    ASSERT_TRUE(console.created);
    console.Show();
    ASSERT_TRUE(SelectTab(console.Control("PageControl1"), 2));
    Sleep(300);
    // By a click into each, then by Tab from "Receive timeout" on.
    for (int i = 0; i < 8; ++i) {
        const bool byTab = i >= 5;
        const char* name = kFields[byTab ? i - 3 : i];
        HWND field = console.Control(name);
        HWND arrows = GetWindow(field, GW_CHILD);
        const std::vector<COLORREF> shown = Pixels(arrows);
        if (i == 5)
            FocusByClick(console.Control("speTimeout"));
        if (byTab)
            PressKey(FocusOf(console.window), VK_TAB);
        else
            FocusByClick(field);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(console.window) == field; }, 3s)) << name;
        Sleep(300);
        EXPECT_EQ(Pixels(arrows), shown) << name << (byTab ? " by Tab" : " by a click");
    }
    EXPECT_TRUE(console.CloseCollectingErrors().empty());
}

// A disk that is full at the end: neither file is touched, no temporary
// file is left, and one box names both files. A small file system of its
// own needs root to mount.
TEST(Console, AFullDiskKeepsBothFilesAndSaysSoInOneBox)
{
    if (!RunShell("id -u | grep -qx 0", 10s))
        GTEST_SKIP() << "mounting a small file system needs root";
    ConsoleFolder folder("full-disk");
    const std::string dir = "'" + folder.UnixDir() + "'";
    ASSERT_TRUE(RunShell("umount " + dir + " 2>/dev/null; mount -t tmpfs -o size=1536k zvfull " + dir, 10s));
    struct Unmount {
        std::string dir;
        ~Unmount() { RunShell("umount " + dir, 10s); }
    } unmount{dir};
    ASSERT_TRUE(CopyFileA(BuildFile("app/ZentVorlumo.exe").c_str(), folder.Exe().c_str(), FALSE));
    const std::string ini = "[Mine]\r\nkeep=this\r\n[Ping]\r\nTimeOut=700\r\n";
    std::string hosts;
    for (int i = 0; i < 50; ++i)
        hosts += "host" + std::to_string(i) + ".example\r\n";
    WriteAll(folder.Ini(), ini);
    WriteAll(folder.Hosts(), hosts);
    RunShell("dd if=/dev/zero of=" + dir + "/filler bs=4k 2>/dev/null; true", 10s);

    Console console(folder);
    ASSERT_TRUE(console.created);
    const std::vector<std::string> errors = console.CloseCollectingErrors();
    ASSERT_EQ(errors.size(), 1u);
    const std::string both = "Unable to write to " + folder.Ini() + ".\r\nCannot write file " + folder.Hosts() + ": ";
    EXPECT_EQ(errors[0].substr(0, both.size()), both) << errors[0];
    EXPECT_TRUE(errors[0].ends_with(". The previous copy was kept.")) << errors[0];
    EXPECT_EQ(ReadAll(folder.Ini()), ini);
    EXPECT_EQ(ReadAll(folder.Hosts()), hosts);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder.File("*.tmp").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "left behind: " << found.cFileName;
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}

// A folder whose name the ANSI code page cannot spell: the settings, the
// history and the version are read from it, and both files written back.
TEST(Console, AFolderOfAnyNameWorks)
{
    const std::string parent = WorkFile("tests/e2e/console");
    const std::wstring dir = std::wstring(parent.begin(), parent.end()) + L"\\Mapa \u0159 \u5730\u56f3";
    CreateDirectoryA(parent.c_str(), nullptr);
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"\\ZentVorlumo.exe", ini = dir + L"\\zentvorlumo.ini", hosts = dir + L"\\host.txt";
    auto write = [](const std::wstring& path, const std::string& text) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    };
    const std::string built = BuildFile("app/ZentVorlumo.exe");
    ASSERT_TRUE(CopyFileW(std::wstring(built.begin(), built.end()).c_str(), exe.c_str(), FALSE));
    write(ini, "[Ping]\r\nTimeOut=700\r\n");
    write(hosts, "kept.example\r\n");

    Console console(exe);
    ASSERT_TRUE(console.created);
    EXPECT_EQ(console.Graphic("lbVersion"), "1.8.0.0");
    EXPECT_EQ(console.Text("speTimeout"), "700");
    EXPECT_EQ(console.Text("cbHost"), "kept.example");
    EXPECT_TRUE(console.CloseCollectingErrors().empty());
    wchar_t value[64] = L"";
    GetPrivateProfileStringW(L"Ping", L"Buffer", L"(none)", value, 64, ini.c_str());
    EXPECT_STREQ(value, L"8192");
    GetPrivateProfileStringW(L"Ping", L"TimeOut", L"(none)", value, 64, ini.c_str());
    EXPECT_STREQ(value, L"700");
    HANDLE file = CreateFileW(hosts.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char text[64] = "";
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(text, got), "kept.example\r\n");
}

// Windows ends the process after WM_ENDSESSION without destroying its
// windows: the console saves then, and only then.
TEST(Console, ASessionEndSavesOnce)
{
    ConsoleFolder folder("session-end");
    WriteAll(folder.Hosts(), "a.example\r\n");
    Console console(folder);
    ASSERT_TRUE(console.created);
    EndSession(console.program.Pid());
    EXPECT_EQ(folder.Setting("Ping", "Buffer"), "8192");
    EXPECT_EQ(ReadAll(folder.Hosts()), "a.example\r\n");
    // A normal end after it must not write again.
    DeleteFileA(folder.Ini().c_str());
    DeleteFileA(folder.Hosts().c_str());
    EXPECT_TRUE(console.CloseCollectingErrors().empty());
    EXPECT_EQ(ReadAll(folder.Ini()), "(missing)");
    EXPECT_EQ(ReadAll(folder.Hosts()), "(missing)");
}

// The host box mirrors what the user types to the compact window; the
// repeat toggle locks the seven controls and hides the console, and lets
// them go again; Enter in the host box reaches the default OK button, which
// hides the console.
TEST(Console, HostBoxToggleAndEnter)
{
    ConsoleFolder folder("host-box");
    // The toggle goes down below: the longest interval and loopback hosts, so
    // that no tick can ping anything while the test runs.
    WriteAll(folder.Ini(), "[Ping]\r\nRepeat=100000\r\n");
    WriteAll(folder.Hosts(), "127.0.0.1\r\n127.0.0.2\r\n");
    Console console(folder);
    ASSERT_TRUE(console.created);
    EXPECT_EQ(console.HostLabel(), "127.0.0.1");
    console.Show();
    HWND edit = ComboEdit(console.Control("cbHost"));
    ASSERT_NE(edit, nullptr);
    FocusByClick(edit);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(console.window) == edit; }, 3s));
    TypeText(edit, "z");
    // The character is posted: wait for it to reach the box, not only for
    // the label to equal the box.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::string typed = TextOf(edit);
            return typed != "127.0.0.1" && console.HostLabel() == typed;
        },
        3s))
        << TextOf(edit) << " / " << console.HostLabel();

    const char* locked[] = {"speRepeat", "cbHost", "BitBtnPing", "speTimeout", "speMaxLine", "chbErrLines",
                            "speMaxHosts"};
    HWND toggle = console.Control("spbRepPing");
    Click(toggle);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(console.window); }, 5s));
    EXPECT_EQ(TextOf(toggle), "End repeat Ping");
    for (const char* name : locked)
        EXPECT_FALSE(IsWindowEnabled(console.Control(name))) << name;
    EXPECT_TRUE(IsWindowEnabled(console.Control("speBuffer")));
    Click(toggle);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(toggle) == "Start repeat Ping"; }, 5s));
    EXPECT_FALSE(IsWindowVisible(console.window)) << "going up never shows the console";
    for (const char* name : locked)
        EXPECT_TRUE(IsWindowEnabled(console.Control(name))) << name;

    console.Show();
    FocusByClick(edit);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(console.window) == edit; }, 3s));
    PressKey(edit, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(console.window); }, 5s));
    EXPECT_TRUE(console.program.Running());
    EXPECT_TRUE(console.CloseCollectingErrors().empty());
}

// The numeric fields as typed into: letters are refused, the arrow keys
// step and clamp, Tab leaves a field clamped and moves on, a value still
// being typed is saved as typed. The graph settings go to the chart at
// once and are saved as chosen.
TEST(Console, NumericFieldsAndGraphSettings)
{
    ConsoleFolder folder("fields");
    Console console(folder);
    ASSERT_TRUE(console.created);
    console.Show();
    ASSERT_TRUE(SelectTab(console.Control("PageControl1"), 2));
    auto focus = [&](const char* name) {
        HWND field = console.Control(name);
        FocusByClick(field);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(console.window) == field; }, 3s)) << name;
        return field;
    };
    auto settles = [&](HWND field, const std::string& text) {
        return WaitUntil([&] { return TextOf(field) == text; }, 3s);
    };

    HWND buffer = focus("speBuffer");
    PressKey(buffer, VK_UP);
    EXPECT_TRUE(settles(buffer, "9216")) << TextOf(buffer);
    PressKey(buffer, VK_DOWN);
    PressKey(buffer, VK_DOWN);
    EXPECT_TRUE(settles(buffer, "7168")) << TextOf(buffer);

    HWND timeout = focus("speTimeout");
    SendMessageA(timeout, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    TypeText(timeout, "5x0");
    EXPECT_TRUE(settles(timeout, "50")) << TextOf(timeout);
    PressKey(timeout, VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(console.window) == console.Control("speRepeat"); }, 3s))
        << NameOf(FocusOf(console.window));
    EXPECT_TRUE(settles(timeout, "100")) << TextOf(timeout);

    HWND chart = FindNamedControl(console.main, "Chart1");
    ASSERT_NE(chart, nullptr);
    // Clear of the console, away from the screen's top left where other
    // programs' windows open.
    SetWindowPos(console.main, HWND_TOPMOST, 700, 700, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<COLORREF> flat = Pixels(chart);
    Click(console.Control("chb3D"));
    EXPECT_TRUE(WaitUntil([&] { return Pixels(chart) != flat; }, 5s))
        << "the chart did not turn 3D; the screen: " << Screenshot("chart-3d-unchanged");
    // Arrow keys on a closed colour chooser pick the next entry, as a user's choice.
    PressKey(console.Control("DataColorBox"), VK_DOWN);
    PressKey(console.Control("AVGColorBox"), VK_UP);

    HWND lines = focus("speMaxLine");
    SendMessageA(lines, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    TypeText(lines, "20000");
    EXPECT_TRUE(settles(lines, "20000"));
    EXPECT_TRUE(console.CloseCollectingErrors().empty());

    EXPECT_EQ(folder.Setting("Ping", "Buffer"), "7168");
    EXPECT_EQ(folder.Setting("Ping", "TimeOut"), "100");
    EXPECT_EQ(folder.Setting("Data and Logs", "MaxLines"), "20000");
    EXPECT_EQ(folder.Setting("Graph", "3D"), "1");
    EXPECT_EQ(folder.Setting("Graph", "DataColor"), std::to_string(0x808080)) << "clTeal's next is clGray";
    EXPECT_EQ(folder.Setting("Graph", "AVGColor"), std::to_string(0x00FF00)) << "clYellow's previous is clLime";
}

namespace {

// A reply handed to the test build's console as the echo client would:
// "kind|bytes|type|seq|trip|ttl|from|host box text".
void InjectReply(HWND console, const std::wstring& reply)
{
    static const UINT message = RegisterWindowMessageA("ZentVorlumo.Test.Reply");
    PostMessageA(console, message, GlobalAddAtomW(reply.c_str()), 0);
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// Clicks a row of a list with real input, modifier keys held.
void ClickRow(HWND list, int row, std::initializer_list<UINT> held = {})
{
    RECT r{};
    ASSERT_TRUE(ListViewRowRect(list, row, r)) << row;
    SendClick(list, {r.left + 30, (r.top + r.bottom) / 2}, held);
}

// A "Date/Time" cell ("07.12.2026 15:07:38") as ISO 8601 with the offset in force now.
std::string IsoFromCell(const std::string& cell)
{
    FILETIME utc, local;
    GetSystemTimeAsFileTime(&utc);
    FileTimeToLocalFileTime(&utc, &local);
    auto ticks = [](const FILETIME& f) { return static_cast<long long>(f.dwHighDateTime) << 32 | f.dwLowDateTime; };
    const long long offset = (ticks(local) - ticks(utc)) / 600000000;
    char text[64];
    wsprintfA(text, "%s-%s-%sT%s:%s:%s%c%02d:%02d", cell.substr(6, 4).c_str(), cell.substr(3, 2).c_str(),
              cell.substr(0, 2).c_str(), cell.substr(11, 2).c_str(), cell.substr(14, 2).c_str(),
              cell.substr(17, 2).c_str(), offset < 0 ? '-' : '+', static_cast<int>(std::abs(offset) / 60),
              static_cast<int>(std::abs(offset) % 60));
    return text;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

} // namespace

// The error log's rows leave the program as they are shown, through real
// input: rows picked with Ctrl and Shift (and still picked when a new row
// comes in at the top) are copied tab-separated with the captions;
// "Save as CSV…" from the context menu writes every row through the
// standard save dialog; a folder that cannot be written gives one error
// box, keeps nothing and the program goes on.
TEST(Console, ListRowsLeaveAsCopiedTextAndCsvFiles)
{
    ConsoleFolder folder("export", "tests/e2e/ZentVorlumoTest.exe");
    WriteAll(folder.Hosts(), "127.0.0.1\r\n");
    const std::string scratch = folder.File("scratch"), locked = folder.File("locked");
    for (const std::string& dir : {scratch, locked}) {
        for (const std::string& name : FilesIn(dir))
            DeleteFileA((dir + "\\" + name).c_str());
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    Console console(folder);
    ASSERT_TRUE(console.created);
    const std::wstring hosts[] = {L"a.example", L"Z\u00fcrich, \"B\u00fcro\"", L"  lead, trail  ", L"tab\there",
                                  L"127.0.0.1"};
    for (int i = 0; i < 5; ++i)
        InjectReply(console.window, L"2|0|0|" + std::to_wstring(i + 1) + L"|1000|0|0.0.0.0|" + hosts[i]);
    HWND list = console.Control("ListViewError");
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 5; }, 5s));
    console.Show();
    ASSERT_TRUE(SelectTab(console.Control("PageControl1"), 1));
    std::vector<std::vector<std::string>> rows = ListViewRows(list, 7); // newest first
    ASSERT_EQ(rows.size(), 5u);
    const std::string captions = "Adress\tBytes\tType\tSeq.ID\tTrip time [ms]\tDate/Time\tStatus\r\n";
    // The host cell of each sequence number in the copy and in the file.
    const std::string tabHost[] = {"", "a.example", "\"Z\xFCrich, \"\"B\xFCro\"\"\"", "  lead, trail  ",
                                   "\"tab\there\"", "127.0.0.1", "new"};
    const std::string csvHost[] = {"", "a.example", "\"Z\xC3\xBCrich, \"\"B\xC3\xBCro\"\"\"", "\"  lead, trail  \"",
                                   "tab\there", "127.0.0.1", "new"};
    auto copied = [&](int row) {
        const auto& c = rows[static_cast<std::size_t>(row)];
        return tabHost[std::stoi(c[3])] + "\t0\t0\t" + c[3] + "\t1000\t" + c[5] + "\trsTimeOut\r\n";
    };

    ClickRow(list, 0);
    ClickRow(list, 2, {VK_CONTROL});
    EXPECT_EQ(ListViewSelection(list), (std::vector<int>{0, 2}));
    ClearClipboard();
    SendKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText().has_value(); }, 3s));
    EXPECT_EQ(ClipboardText().value_or(L""), Wide(captions + copied(0) + copied(2)));
    ClickRow(list, 3, {VK_SHIFT});
    EXPECT_EQ(ListViewSelection(list), (std::vector<int>{2, 3}));
    InjectReply(console.window, L"2|0|0|6|1000|0|0.0.0.0|new");
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 6; }, 5s));
    EXPECT_EQ(ListViewSelection(list), (std::vector<int>{3, 4})) << "the selection follows its rows";
    ClearClipboard();
    SendKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText().has_value(); }, 3s));
    EXPECT_EQ(ClipboardText().value_or(L""), Wide(captions + copied(2) + copied(3)));
    SendKeys({VK_CONTROL, 'A'});
    EXPECT_TRUE(WaitUntil([&] { return ListViewSelection(list).size() == 6; }, 3s));
    rows = ListViewRows(list, 7);

    // Shift+F10 opens the menu; its third entry is "Save as CSV…".
    SYSTEMTIME today{};
    GetLocalTime(&today);
    char proposed[64];
    wsprintfA(proposed, "zentvorlumo-errors-%04d-%02d-%02d.csv", today.wYear, today.wMonth, today.wDay);
    auto saveAs = [&](const std::string& path) {
        SendKeys({VK_SHIFT, VK_F10});
        Sleep(500); // the menu is no window another process can see under Wine
        SendKeys({VK_DOWN});
        SendKeys({VK_DOWN});
        SendKeys({VK_DOWN});
        SendKeys({VK_RETURN});
        HWND dialog = WaitForSaveDialog(console.program.Pid(), 10s);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(SaveDialogFileName(dialog), proposed);
        EXPECT_TRUE(SaveDialogChoose(dialog, path, 10s));
    };
    const std::string saved = scratch + "\\errors.csv";
    saveAs(saved);
    std::string csv = "\xEF\xBB\xBF" "Adress,Bytes,Type,Seq.ID,Trip time [ms],Date/Time,Status,Time\r\n";
    for (const auto& c : rows)
        csv += csvHost[std::stoi(c[3])] + ",0,0," + c[3] + ",1000," + c[5] + ",rsTimeOut," + IsoFromCell(c[5]) + "\r\n";
    EXPECT_TRUE(WaitUntil([&] { return ReadAll(saved) == csv; }, 5s)) << ReadAll(saved);
    EXPECT_EQ(FilesIn(scratch), std::vector<std::string>{"errors.csv"});

    // The fourth entry copies the outage report: the six failures are one outage, still open.
    ClearClipboard();
    SendKeys({VK_SHIFT, VK_F10});
    Sleep(500);
    for (int i = 0; i < 4; ++i)
        SendKeys({VK_DOWN});
    SendKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText().has_value(); }, 3s));
    const std::wstring report = ClipboardText().value_or(L"");
    EXPECT_EQ(report.rfind(L"1 outage since ", 0), 0u);
    EXPECT_NE(report.find(L"\r\nStart\tEnd\tDuration [s]\tPings lost\tKinds\r\n"), std::wstring::npos);
    EXPECT_NE(report.find(L"\t6\trsTimeOut\r\n"), std::wstring::npos) << "six pings lost, no end yet";
    EXPECT_EQ(std::count(report.begin(), report.end(), L'\n'), 3);

    ImmutableScope scope(folder);
    if (!folder.SetImmutable(true, "locked"))
        GTEST_SKIP() << "no immutable folders on this file system";
    const std::string refused = locked + "\\errors.csv";
    saveAs(refused);
    auto box = WaitForMessageBox(console.program.Pid(), 10s);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, "Zentvorlumo");
    EXPECT_EQ(box->icon, BoxIcon::Error);
    EXPECT_EQ(box->text.rfind("Cannot save " + refused + ": ", 0), 0u) << box->text;
    EXPECT_GT(box->text.size(), ("Cannot save " + refused + ": .").size()) << "the system's reason";
    // The window goes on serving replies while the box is open.
    InjectReply(console.window, L"2|0|0|7|1000|0|0.0.0.0|later");
    EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 7; }, 5s));
    PressOk(box->window);
    EXPECT_TRUE(FilesIn(locked).empty());
    EXPECT_TRUE(MessageBoxes(console.program.Pid()).empty()) << "one box only";
    folder.SetImmutable(false);
    EXPECT_TRUE(console.CloseCollectingErrors().empty());
}

namespace {

// The local time of day in seconds.
int SecondOfDay()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
}

// Whether an "hh:mm" of the tip is the minute of a moment within `slack` seconds of `second`.
bool NearMinute(const std::string& hour, const std::string& minute, int second, int slack)
{
    const int shown = std::stoi(hour) * 60 + std::stoi(minute);
    return shown == (second - slack + 86400) / 60 % 1440 || shown == (second + slack) / 60 % 1440;
}

} // namespace

// Frozen for a minute while it pings loopback over and over, as a sleep
// freezes it: the gap between two ticks is a sleep. The figures tip names
// it on its last line, counts the up time from the resume and books no
// outage; the error log gains nothing.
TEST(Console, AFrozenMinuteIsASleepNotAnOutage)
{
    ConsoleFolder folder("freeze");
    WriteAll(folder.Hosts(), "127.0.0.1\r\n");
    WriteAll(folder.Ini(), "[Ping]\r\nRepeat=1000\r\nTimeOut=200\r\n");
    Console console(folder);
    ASSERT_TRUE(console.created);
    const HWND replies = console.Control("ListView1"), errors = console.Control("ListViewError");
    Click(console.Control("spbRepPing"));
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(replies) >= 2; }, 10s));

    const int stopped = SecondOfDay();
    const DWORD frozen = GetTickCount();
    ASSERT_TRUE(FreezeProcess(folder.Exe(), 60s));
    ASSERT_TRUE(WaitUntil([&] { return !Responsive(console.main, 200ms); }, 5s)) << "not frozen";
    // A slow answer before the stop must not pass for the resume.
    ASSERT_TRUE(WaitUntil([&] { return GetTickCount() - frozen > 55000 && Responsive(console.main, 200ms); }, 75s))
        << "not resumed";
    const int resumed = SecondOfDay();
    const int rows = ListViewRowCount(replies);
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(replies) >= rows + 2; }, 10s));

    const auto average = FindGraphic(console.main, "lbAVG");
    ASSERT_TRUE(average.has_value());
    const std::string tip =
        HoverTip(console.main, (average->bounds.left + average->bounds.right) / 2, average->bounds.top + 6, 5s);
    ParkPointer();
    std::vector<std::string> lines;
    std::istringstream in(tip);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    ASSERT_EQ(lines.size(), 8u) << tip;
    EXPECT_EQ(lines[4].rfind("last 5 min", 0), 0u) << lines[4];
    EXPECT_EQ(lines[5], "no outages");
    EXPECT_TRUE(std::regex_match(lines[6], std::regex("up for \\d.\\d s"))) << "counted from the resume: " << lines[6];
    std::smatch asleep;
    const std::regex sleep("asleep (\\d\\d).(\\d\\d) to (\\d\\d).(\\d\\d)");
    ASSERT_TRUE(std::regex_match(lines[7], asleep, sleep)) << lines[7];
    EXPECT_TRUE(NearMinute(asleep[1], asleep[2], stopped, 2)) << lines[7] << ": from the last tick before";
    EXPECT_TRUE(NearMinute(asleep[3], asleep[4], resumed, 2)) << lines[7] << ": to the first tick after";
    EXPECT_EQ(ListViewRowCount(errors), 0);
    EXPECT_TRUE(console.CloseCollectingErrors().empty());
}
