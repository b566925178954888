// The compact window by keyboard alone and through an accessibility client,
// in the real program at the DPI of the prefix it runs in (96 dpi, and 144
// through tools/wine-dpi-run.sh): the focus it takes when activated, the Tab
// walk with its mark (none before the keyboard is used), Space, Ctrl+R, F1
// and Alt+F4, Escape on the console, and the children a client reads with
// their names and values, the default action of START/STOP, the events a
// reader follows a run by, and the console's figures. Real keys through the
// X server, as a user types them. The test build of the program takes
// replies without pinging (ZentVorlumo.Test.Reply).
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/driver/Driver.h"
#include "tests/driver/DriverAccessible.h"
#include "tests/driver/DriverControls.h"
#include "toolkit/Scale.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

// A copy of the program's test build that only ever pings loopback.
std::string PrepareProgram(int dpi)
{
    const std::string copy = LoopbackCopy(WorkFile("tests/e2e/keyboard-" + std::to_string(dpi)),
                                          BuildFile("tests/e2e/ZentVorlumoTest.exe"));
    EXPECT_FALSE(copy.empty()) << "the test's program could not be prepared";
    return copy;
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

COLORREF ScreenPixel(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, client.x, client.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Where the mark's yellow line crosses the middle of a control's top: the
// mark lies 3 design pixels around it (on the edge of START/STOP, which
// touches the chart), its edge outside, its line within.
POINT MarkLine(HWND main, const char* name, const tk::Scale& s)
{
    const auto g = FindGraphic(main, name);
    if (!g)
        return {};
    const int out = std::string(name) == "Image4" ? 0 : s(3);
    return {(g->bounds.left + g->bounds.right) / 2, g->bounds.top - out + s(1)};
}

constexpr COLORREF kMarkYellow = RGB(0xFF, 0xD4, 0x00);

// The name and value change events of a process, as a reader's hook gets them.
struct Event {
    HWND window;
    LONG child;
    DWORD tick;
};
std::vector<Event> events;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT)
        events.push_back({window, child, GetTickCount()});
}

// Waits while the hook's events come in (they arrive as messages).
void PumpFor(std::chrono::milliseconds time)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(time.count());
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
}

void InjectEcho(HWND console, int seq)
{
    static const UINT message = RegisterWindowMessageA("ZentVorlumo.Test.Reply");
    const std::wstring reply = L"0|72|0|" + std::to_wstring(seq) + L"|" + std::to_wstring(seq * 3) +
                               L"|128|127.0.0.1|127.0.0.1";
    PostMessageA(console, message, GlobalAddAtomW(reply.c_str()), 0);
}

bool Shows(HWND main, const char* name)
{
    const auto g = FindGraphic(main, name);
    return g && g->visible;
}

} // namespace

TEST(Keyboard, TheCompactWindowIsReachedByKeysAndByAReader)
{
    SetProcessDPIAware();
    const int dpi = ScreenDpi();
    const tk::Scale s(dpi);
    Program program(PrepareProgram(dpi));
    const HWND main = WaitForWindow(program.Pid(), "TFormMain", 15s);
    const HWND console = WaitForWindow(program.Pid(), "TFormSetings", 5s);
    ASSERT_TRUE(main && console);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5s));
    const HWND toggle = FindNamedControl(console, "spbRepPing");
    const HWND pages = FindNamedControl(console, "PageControl1");
    ASSERT_TRUE(toggle && pages);

    // Activated by a click on bare skin, it takes the focus, its first item
    // with it; no mark shows until a key is pressed.
    const POINT startMark = MarkLine(main, "Image4", s);
    const COLORREF bare = ScreenPixel(main, startMark);
    SendClick(main, {s(35), s(150)});
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main) == main; }, 5s));
    EXPECT_EQ(AccessibleFocus(main).value_or(-1), 1) << "the host label";
    EXPECT_NE(ScreenPixel(main, MarkLine(main, "lbHost", s)), kMarkYellow);

    SendKeys({VK_TAB});
    SendKeys({VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return AccessibleFocus(main).value_or(-1) == 4; }, 3s)) << "START/STOP";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(main, startMark) == kMarkYellow; }, 3s));
    EXPECT_NE(bare, kMarkYellow);
    EXPECT_FALSE(Screenshot("keyboard-focus-" + std::to_string(dpi * 100 / 96)).empty());
    SendKeys({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return AccessibleFocus(main).value_or(-1) == 3; }, 3s)) << "the average";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(main, startMark) == bare; }, 3s)) << "the mark moved on";
    SendKeys({VK_TAB});

    // Space and Ctrl+R start and end repeat pinging; the focus stays on the picture's place.
    SendKeys({VK_SPACE});
    EXPECT_TRUE(WaitUntil([&] { return Shows(main, "Image5") && IsChecked(toggle); }, 5s)) << "Space starts";
    EXPECT_EQ(AccessibleFocus(main).value_or(-1), 5);
    SendKeys({VK_SPACE});
    EXPECT_TRUE(WaitUntil([&] { return Shows(main, "Image4") && !IsChecked(toggle); }, 5s)) << "Space ends";
    SendKeys({VK_CONTROL, 'R'});
    EXPECT_TRUE(WaitUntil([&] { return Shows(main, "Image5") && IsChecked(toggle); }, 5s)) << "Ctrl+R starts";
    SendKeys({VK_CONTROL, 'R'});
    EXPECT_TRUE(WaitUntil([&] { return Shows(main, "Image4") && !IsChecked(toggle); }, 5s)) << "Ctrl+R ends";

    // What a reader gets: the windowless items in reading order, then the chart's window.
    const auto avg = FindGraphic(main, "lbAVG");
    ASSERT_TRUE(avg.has_value());
    const auto children = AccessibleChildren(main);
    ASSERT_TRUE(children.has_value()) << "no client object";
    const struct {
        const char* name;
        long role;
        std::string value;
        const char* action;
        const char* shortcut;
    } expected[] = {
        {"Host", ROLE_SYSTEM_STATICTEXT, "127.0.0.1", "Click", ""},
        {"AVG Trip Time / Error", ROLE_SYSTEM_STATICTEXT, "", "Click", ""},
        {"AVG Trip Time / Error", ROLE_SYSTEM_STATICTEXT, avg->text, "Click", ""},
        {"Start repeat ping", ROLE_SYSTEM_PUSHBUTTON, "", "Press", "Ctrl+R"},
        {"End repeat ping", ROLE_SYSTEM_PUSHBUTTON, "", "Press", "Ctrl+R"},
        {"ICMP echo monitor", ROLE_SYSTEM_GRAPHIC, "", "", ""},
        {"About", ROLE_SYSTEM_PUSHBUTTON, "", "Press", "F1"},
        {"Setings", ROLE_SYSTEM_PUSHBUTTON, "", "Press", ""},
        {"Close", ROLE_SYSTEM_PUSHBUTTON, "", "Press", "Alt+F4"},
    };
    ASSERT_EQ(children->size(), std::size(expected) + 1) << "and the chart";
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const AccessibleInfo& c = (*children)[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(c.name, expected[i].name);
        EXPECT_EQ(c.role, expected[i].role);
        EXPECT_EQ(c.value, expected[i].value);
        EXPECT_EQ(c.action, expected[i].action);
        EXPECT_EQ(c.shortcut, expected[i].shortcut);
    }
    EXPECT_TRUE((*children)[3].state & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE((*children)[4].state & STATE_SYSTEM_INVISIBLE);
    const auto image4 = FindGraphic(main, "Image4");
    ASSERT_TRUE(image4.has_value());
    POINT origin{image4->bounds.left, image4->bounds.top};
    ClientToScreen(main, &origin);
    EXPECT_EQ((*children)[3].location.left, origin.x);
    EXPECT_EQ((*children)[3].location.bottom - (*children)[3].location.top, image4->bounds.bottom - image4->bounds.top);
    EXPECT_EQ((*children)[9].id, 0) << "Chart1, an object of its own (Wine's gives it no role)";

    // A run of replies: a reader hears of the average at most once a second.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnEvent,
                                         program.Pid(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    for (int seq = 1; seq <= 8; ++seq) {
        InjectEcho(console, seq);
        PumpFor(150ms);
    }
    PumpFor(1500ms);
    UnhookWinEvent(hook);
    std::vector<DWORD> averageTold;
    for (const Event& e : events)
        if (e.window == main && e.child == 3)
            averageTold.push_back(e.tick);
    ASSERT_FALSE(averageTold.empty()) << events.size() << " events";
    EXPECT_LE(averageTold.size(), 3u);
    for (std::size_t i = 1; i < averageTold.size(); ++i)
        EXPECT_GE(averageTold[i] - averageTold[i - 1], 900u);
    const auto told = AccessibleChildren(main);
    ASSERT_TRUE(told && told->size() > 2);
    EXPECT_EQ((*told)[2].value, FindGraphic(main, "lbAVG")->text) << "the last change was told too";

    // The console's figures, named by their headings.
    const HWND figures = FindNamedControl(console, "Panel2");
    ASSERT_NE(figures, nullptr);
    const auto shown = AccessibleChildren(figures);
    ASSERT_TRUE(shown && shown->size() >= 4);
    EXPECT_EQ((*shown)[0].name, "AVG Trip Time:");
    EXPECT_EQ((*shown)[1].name, "AVG Trip Time");
    EXPECT_EQ((*shown)[1].value, FindGraphic(console, "lbAVG")->text);
    EXPECT_EQ((*shown)[3].name, "Error count");
    EXPECT_EQ((*shown)[3].value, "0");

    EXPECT_TRUE(AccessibleDefaultAction(main, 4));
    EXPECT_TRUE(WaitUntil([&] { return Shows(main, "Image5") && IsChecked(toggle); }, 5s)) << "START's action";
    EXPECT_TRUE(AccessibleDefaultAction(main, 5));
    EXPECT_TRUE(WaitUntil([&] { return Shows(main, "Image4") && !IsChecked(toggle); }, 5s)) << "STOP's action";

    // F1 opens About; Escape hides the console as its OK button does.
    SendKeys({VK_F1});
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(console) && SelectedTab(pages) == 3; }, 5s));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == console; }, 5s));
    SendKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(console); }, 5s)) << "Escape";

    // Alt+F4 closes the program as the close dot does. Hiding the console
    // activated Wine 8's own tray window, and with no window manager on the
    // display the X keyboard focus stays there after the click: the test
    // moves it to the window under the pointer as a window manager would.
    SendClick(main, {s(35), s(150)});
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main) == main; }, 5s));
    RunShell("eval $(xdotool getmouselocation --shell); xdotool windowfocus --sync $WINDOW", 5s);
    SendKeys({VK_MENU, VK_F4});
    EXPECT_EQ(program.WaitForExit(10s), DWORD{0});
}
