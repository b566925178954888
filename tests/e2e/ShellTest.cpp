// Start-up and shutdown of the real program, driven from outside: the two
// windows, closing, the error box of a failing handler, the fatal start-up
// box and the launcher's show state. The failing cases use the test build.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/driver/Driver.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

std::string ShippedExe()
{
    return BuildFile("app/ZentVorlumo.exe");
}

std::string TestExe()
{
    return BuildFile("tests/e2e/ZentVorlumoTest.exe");
}

// Asks the test build's main window to throw from its window procedure.
void PostThrowRequest(HWND main, const std::string& message)
{
    static const UINT request = RegisterWindowMessageA("ZentVorlumo.Test.Throw");
    ATOM atom = GlobalAddAtomA(message.c_str());
    ASSERT_NE(atom, 0);
    ASSERT_TRUE(PostMessageA(main, request, atom, 0));
}

// No further box within a short while.
bool NoMoreBoxes(const Program& program)
{
    return !WaitUntil([&] { return !MessageBoxes(program.Pid()).empty(); }, 500ms);
}

struct Started {
    HWND main = nullptr;
    HWND console = nullptr;
};

Started WaitForBothWindows(const Program& program)
{
    Started s;
    s.main = WaitForWindow(program.Pid(), "TFormMain", 15s);
    s.console = WaitForWindow(program.Pid(), "TFormSetings", 5s);
    return s;
}

void CloseAndExpectExitCode(Program& program, HWND main, DWORD expected)
{
    Close(main);
    auto code = program.WaitForExit(15s);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_EQ(*code, expected);
}

} // namespace

TEST(StartUp, ShowsTheMainWindowAndCreatesTheConsoleHidden)
{
    Program program(ShippedExe());
    Started s = WaitForBothWindows(program);
    ASSERT_NE(s.main, nullptr);
    ASSERT_NE(s.console, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(s.main) != FALSE; }, 5s));
    EXPECT_FALSE(IsWindowVisible(s.console));
    // The console was created while the main window existed: it is owned by it.
    EXPECT_EQ(GetWindow(s.console, GW_OWNER), s.main);
    EXPECT_EQ(TextOf(s.console), "Zent Vorlumo");
    // The main window carries the application title, as the task bar shows it.
    EXPECT_EQ(TextOf(s.main), "Zentvorlumo");

    RECT client{};
    GetClientRect(s.main, &client);
    EXPECT_EQ(client.right, 475);
    EXPECT_EQ(client.bottom, 265);
    RECT outer{};
    GetWindowRect(s.main, &outer);
    EXPECT_EQ(outer.right - outer.left, 475) << "the main window has no frame";
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_TRUE(MessageBoxes(program.Pid()).empty());
    EXPECT_FALSE(Screenshot("e2e-startup").empty());
}

TEST(Shutdown, ClosingTheMainWindowEndsTheProgramWithStatusZero)
{
    Program program(ShippedExe());
    Started s = WaitForBothWindows(program);
    ASSERT_NE(s.main, nullptr);
    CloseAndExpectExitCode(program, s.main, 0);
}

TEST(Shutdown, ClosingTheConsoleOnlyHidesIt)
{
    Program program(ShippedExe());
    Started s = WaitForBothWindows(program);
    ASSERT_NE(s.console, nullptr);
    Close(s.console);
    ASSERT_TRUE(Responsive(s.main));
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(IsWindow(s.console));
    EXPECT_FALSE(IsWindowVisible(s.console));
    CloseAndExpectExitCode(program, s.main, 0);
}
