// The compact window of the real program, driven from outside: its shape is
// the stored outline, which presses move it, what its pictures and hot spots
// do, and the close button. Real mouse input (SendInput) for the drags,
// because the system's move loop follows the pointer itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/Mask2Data.h"
#include "tests/driver/Driver.h"
#include "tests/driver/DriverControls.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

// The program saves its settings and host history beside itself at every
// end, and an empty history blanks the host label (and so its hot spot):
// each run starts from the same files, in the runtime's own folder.
const std::string& RunFolder()
{
    static const std::string folder = WorkFile("tests/e2e/compact");
    return folder;
}

bool WriteKnownFiles()
{
    return !LoopbackCopy(RunFolder(), BuildFile("app/ZentVorlumo.exe")).empty();
}

// Never start the program with files other than these.
bool StartsFromKnownFiles()
{
    if (!WriteKnownFiles()) {
        std::fprintf(stderr, "the test's settings and host history could not be written\n");
        std::exit(1);
    }
    return true;
}

struct Running {
    bool fresh = StartsFromKnownFiles();
    Program program{RunFolder() + "\\ZentVorlumo.exe"};
    HWND main = nullptr;
    HWND console = nullptr;

    Running()
    {
        main = WaitForWindow(program.Pid(), "TFormMain", 15s);
        console = WaitForWindow(program.Pid(), "TFormSetings", 5s);
        WaitUntil([&] { return main && IsWindowVisible(main); }, 5s);
    }
};

void SendMouse(DWORD flags, POINT screen = {})
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN));
        input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    }
    SendInput(1, &input, sizeof input);
    Sleep(40);
}

// Presses at a client point, moves by (dx, dy) in steps and releases; gives
// how far the window moved.
POINT Drag(HWND window, POINT from, int dx, int dy, bool right)
{
    RECT before{};
    GetWindowRect(window, &before);
    POINT at = from;
    ClientToScreen(window, &at);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 6; ++step)
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, {at.x + dx * step / 6, at.y + dy * step / 6});
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Responsive(window);
    Sleep(200);
    RECT after{};
    GetWindowRect(window, &after);
    return {after.left - before.left, after.top - before.top};
}

bool Shows(HWND main, const char* name)
{
    auto g = FindGraphic(main, name);
    return g && g->visible;
}

} // namespace

TEST(CompactWindow, IsCutToTheStoredOutline)
{
    Running r;
    ASSERT_NE(r.main, nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(r.main, region), ERROR);
    std::vector<std::uint8_t> data(GetRegionData(region, 0, nullptr));
    GetRegionData(region, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    DeleteObject(region);
    EXPECT_EQ(data, std::vector<std::uint8_t>(Mask2 + 4, Mask2 + sizeof Mask2));

    struct Spot {
        POINT client;
        bool inside;
    };
    for (const Spot& s : {Spot{{470, 100}, false}, Spot{{100, 255}, false}, Spot{{5, 5}, false},
                          Spot{{35, 150}, true}, Spot{{13, 27}, true}}) {
        POINT p = s.client;
        ClientToScreen(r.main, &p);
        EXPECT_EQ(GetAncestor(WindowFromPoint(p), GA_ROOT) == r.main, s.inside) << s.client.x << "," << s.client.y;
    }
    EXPECT_FALSE(Screenshot("compact-window").empty());
    Close(r.main);
    EXPECT_EQ(r.program.WaitForExit(10s), DWORD{0});
}

TEST(CompactWindow, OnlyALeftDragOnBareSkinMovesIt)
{
    Running r;
    ASSERT_NE(r.main, nullptr);
    struct Case {
        const char* what;
        POINT from;
        bool right;
        bool moves;
    };
    const Case cases[] = {
        {"left on bare skin", {35, 150}, false, true},
        {"right on bare skin", {35, 150}, true, false},
        {"left on the chart", {180, 120}, false, false},
        {"left on the average label", {392, 157}, false, false},
        {"left on the ornament's tip", {13, 27}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const POINT moved = Drag(r.main, c.from, 40, 30, c.right);
        EXPECT_EQ(moved.x, c.moves ? 40 : 0);
        EXPECT_EQ(moved.y, c.moves ? 30 : 0);
    }
    Close(r.main);
    EXPECT_EQ(r.program.WaitForExit(10s), DWORD{0});
}

TEST(CompactWindow, HotSpotsShowTheConsoleAndStartStopFollowsItsToggle)
{
    Running r;
    ASSERT_NE(r.main, nullptr);
    ASSERT_NE(r.console, nullptr);
    // The console writes it at its creation (which may still be under way),
    // with the locale's separators.
    // Either label may not exist yet: an empty optional must not be read.
    auto text = [](HWND window) {
        const auto g = FindGraphic(window, "lbAVG");
        return g ? g->text : std::string("(none)");
    };
    EXPECT_TRUE(WaitUntil([&] { return text(r.main) == text(r.console) + " / 0 [err]"; }, 5s)) << text(r.main);
    EXPECT_TRUE(Shows(r.main, "Image4"));
    EXPECT_FALSE(Shows(r.main, "Image5"));
    const HWND pages = FindNamedControl(r.console, "PageControl1");
    const HWND host = FindNamedControl(r.console, "cbHost");
    const HWND toggle = FindNamedControl(r.console, "spbRepPing");
    ASSERT_TRUE(pages && host && toggle);
    auto hostHasFocus = [&] {
        const HWND focus = FocusOf(r.console);
        return focus && (focus == host || IsChild(host, focus));
    };
    const struct {
        const char* spot;
        int page;
    } spots[] = {{"Image1", 2}, {"lbHost", 2}, {"Image2", 3}, {"Label6", 0}, {"lbAVG", 0}};
    for (const auto& s : spots) {
        SCOPED_TRACE(s.spot);
        ASSERT_TRUE(ClickGraphic(r.main, s.spot));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(r.console) != FALSE; }, 5s));
        EXPECT_TRUE(WaitUntil([&] { return SelectedTab(pages) == s.page; }, 5s));
        if (s.page == 2) {
            EXPECT_TRUE(WaitUntil(hostHasFocus, 5s)) << "the host box takes the focus while it is enabled";
        }
        Close(r.console);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(r.console); }, 5s));
    }

    ASSERT_TRUE(ClickGraphic(r.main, "lbAVG"));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(r.console) != FALSE; }, 5s));
    ASSERT_TRUE(ClickGraphic(r.main, "Image4"));
    EXPECT_TRUE(WaitUntil([&] { return Shows(r.main, "Image5") && !Shows(r.main, "Image4"); }, 5s));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(r.console); }, 5s)) << "START hides the console";
    EXPECT_EQ(TextOf(toggle), "End repeat Ping");
    EXPECT_TRUE(IsChecked(toggle));

    // While repeat pinging runs the host box is disabled and keeps no focus.
    ASSERT_TRUE(ClickGraphic(r.main, "Image1"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(r.console) && SelectedTab(pages) == 2; }, 5s));
    EXPECT_FALSE(IsWindowEnabled(host));
    EXPECT_FALSE(hostHasFocus());
    Close(r.console);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(r.console); }, 5s));

    ASSERT_TRUE(ClickGraphic(r.main, "Image5"));
    EXPECT_TRUE(WaitUntil([&] { return Shows(r.main, "Image4") && !Shows(r.main, "Image5"); }, 5s));
    EXPECT_FALSE(IsWindowVisible(r.console)) << "STOP does not show the console";
    EXPECT_EQ(TextOf(toggle), "Start repeat Ping");
    EXPECT_FALSE(IsChecked(toggle));

    ASSERT_TRUE(ClickGraphic(r.main, "SpeedButton1"));
    EXPECT_EQ(r.program.WaitForExit(10s), DWORD{0});
}

// The menu's history items: "Keep history" files each ping of a run in the
// day's file beside the program, the choice is saved with the settings, and
// "&History…" (its mnemonic) opens the History window.
TEST(CompactWindow, KeepHistoryFilesThePingsAndHistoryOpensItsWindow)
{
    Running r;
    ASSERT_NE(r.main, nullptr);
    // The menu belongs to the notification icon, added once the window has
    // painted. By keyboard the items are counted from the top; a menu
    // opened by the pointer takes a mnemonic.
    auto menu = [&](bool byPointer, std::initializer_list<UINT> keys) {
        bool open = false;
        for (int i = 0; i < 10 && !open; ++i) {
            if (byPointer) {
                SendClick(r.main, {35, 150}, {}, true);
            } else {
                SendClick(r.main, {35, 150});
                WaitUntil([&] { return FocusOf(r.main) == r.main; }, 1s);
                SendKeys({VK_SHIFT, VK_F10});
            }
            open = WaitUntil([&] { return InMenu(r.main); }, 1s);
        }
        ASSERT_TRUE(open);
        for (UINT key : keys)
            SendKeys({key});
        EXPECT_TRUE(WaitUntil([&] { return !InMenu(r.main); }, 5s));
    };
    auto sizeOf = [](const std::string& pattern) -> long {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(pattern.c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return -1;
        FindClose(find);
        return static_cast<long>(found.nFileSizeLow);
    };
    const std::string days = RunFolder() + "\\history\\zentvorlumo-????-??-??.csv";
    RunShell("rm -rf '" + WorkDir() + "/tests/e2e/compact/history'", 10s); // an earlier run's
    ASSERT_EQ(sizeOf(days), -1) << "no history file while history is off";

    // Show monitor, Console, the repeat toggle, Alerts, History, Keep history.
    menu(false, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    Click(FindNamedControl(r.console, "BitBtnPing")); // one ping of the loopback host
    // The header, then at least one row of 127.0.0.1.
    EXPECT_TRUE(WaitUntil([&] { return sizeOf(days) > 120; }, 10s)) << sizeOf(days);

    menu(true, {'H'});
    EXPECT_NE(WaitForWindow(r.program.Pid(), "TFormHistory", 5s), nullptr);

    // The History window may stand over the close dot: closed as a message.
    Close(r.main);
    EXPECT_EQ(r.program.WaitForExit(10s), DWORD{0});
    HANDLE ini = CreateFileA((RunFolder() + "\\zentvorlumo.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(ini, INVALID_HANDLE_VALUE);
    char text[4096] = "";
    DWORD read = 0;
    ReadFile(ini, text, sizeof text - 1, &read, nullptr);
    CloseHandle(ini);
    EXPECT_NE(std::strstr(text, "[History]\r\nKeep=1"), nullptr) << text;
}
