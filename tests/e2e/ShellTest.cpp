// Start-up and shutdown of the real program, driven from outside: the two
// windows, closing, the error box of a failing handler, the fatal start-up
// box and the launcher's show state. The failing cases use the test build.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/driver/Driver.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

// The programs run from a folder of the runtime's own, under their own
// names (the title follows the name), beside the loopback files: each saves
// its files beside itself, and the other runtime may run these tests too.
std::string RunCopy(const std::string& built, const std::string& name)
{
    const std::string folder = WorkFile("tests/e2e/shell");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\" + name;
    if (!WriteLoopbackFiles(folder) || !CopyFileA(BuildFile(built).c_str(), copy.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + built + " to " + copy);
    return copy;
}

std::string ShippedExe()
{
    static const std::string exe = RunCopy("app/ZentVorlumo.exe", "ZentVorlumo.exe");
    return exe;
}

std::string TestExe()
{
    static const std::string exe = RunCopy("tests/e2e/ZentVorlumoTest.exe", "ZentVorlumoTest.exe");
    return exe;
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

// The error box of a handler that throws: one box per error, titled with the
// application title, the message with the full-stop rule, and the program
// goes on (each case runs after the previous box was dismissed).
TEST(ErrorBox, OneBoxPerHandlerErrorAndTheLoopGoesOn)
{
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"Host not found", "Host not found."},        // a letter gains a full stop
        {"Socket Error # 10065", "Socket Error # 10065."}, // so does a digit
        {"Cannot allocate socket.", "Cannot allocate socket."},
        {"Timed out!", "Timed out!"},                 // '!' is below '.'
        {"(no reply)", "(no reply)"},                 // ')' is below '.'
        {"path a/b/", "path a/b/."},                  // '/' is just above '.'
        {"step -", "step -"},                         // '-' is just below '.'
    };
    Program program(TestExe());
    Started s = WaitForBothWindows(program);
    ASSERT_NE(s.main, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        PostThrowRequest(s.main, c.message);
        auto box = WaitForMessageBox(program.Pid(), 10s);
        ASSERT_TRUE(box.has_value()) << "no error box";
        EXPECT_EQ(box->title, "Zentvorlumotest");
        EXPECT_EQ(box->text, c.shown);
        EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
        EXPECT_EQ(box->buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(MessageBoxes(program.Pid()).size(), 1u);
        ASSERT_TRUE(PressOk(box->window));
        EXPECT_TRUE(NoMoreBoxes(program));
        ASSERT_TRUE(Responsive(s.main));
        EXPECT_TRUE(IsWindowVisible(s.main));
    }
    CloseAndExpectExitCode(program, s.main, 0);
}

TEST(ErrorBox, TitleFollowsTheExecutablesName)
{
    std::string dir = WorkFile("tests/e2e/renamed");
    CreateDirectoryA(dir.c_str(), nullptr);
    struct Case {
        const char* fileName;
        const char* title;
    };
    const Case cases[] = {
        {"pING-Watch.EXE", "ping-watch"},
        {"Monitor.v2.exe", "Monitor.v2"},
        // Lowered by the code page's rules, not only A to Z (code page 1252).
        {"\xC9" "COLE-\xDC" "BUNG.exe", "\xC9" "cole-\xFC" "bung"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        if (static_cast<unsigned char>(c.fileName[0]) > 0x7F && GetACP() != 1252) {
            ADD_FAILURE() << "this case needs code page 1252, the prefix has " << GetACP();
            continue;
        }
        std::string copy = dir + "\\" + c.fileName;
        ASSERT_TRUE(CopyFileA(TestExe().c_str(), copy.c_str(), FALSE));
        Program program(copy);
        Started s = WaitForBothWindows(program);
        ASSERT_NE(s.main, nullptr);
        EXPECT_EQ(TextOf(s.main), c.title);
        PostThrowRequest(s.main, "Renamed");
        auto box = WaitForMessageBox(program.Pid(), 10s);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, c.title);
        EXPECT_EQ(box->text, "Renamed.");
        ASSERT_TRUE(PressOk(box->window));
        CloseAndExpectExitCode(program, s.main, 0);
    }
}

// A window that fails while being built ends the program before the loop.
TEST(FatalError, AWindowFailingWhileBuiltShowsApplicationErrorAndExitsWithOne)
{
    for (const char* where : {"TFormMain", "TFormSetings"}) {
        SCOPED_TRACE(where);
        StartOptions options;
        options.environment = {{"ZV_FAIL_AT", where}};
        Program program(TestExe(), options);
        auto box = WaitForMessageBox(program.Pid(), 15s);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, "Application Error");
        EXPECT_EQ(box->text, std::string("Exception std::runtime_error:\nFailure injected at ") + where + ".");
        EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
        EXPECT_EQ(box->buttons, std::vector<std::string>{"OK"});
        for (HWND w : TopLevelWindows(program.Pid(), "TFormMain"))
            EXPECT_FALSE(IsWindowVisible(w)) << "the loop must not start";
        ASSERT_TRUE(PressOk(box->window));
        auto code = program.WaitForExit(10s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 1u);
    }
}

TEST(ConsoleHandlers, AnErrorInFormCreateIsShownAndStartUpGoesOn)
{
    StartOptions options;
    options.environment = {{"ZV_FAIL_AT", "FormSetings.FormCreate"}};
    Program program(TestExe(), options);
    auto box = WaitForMessageBox(program.Pid(), 15s);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, "Zentvorlumotest");
    EXPECT_EQ(box->text, "Failure injected at FormSetings.FormCreate.");
    EXPECT_EQ(box->icon, BoxIcon::Error) << ToString(box->icon);
    ASSERT_TRUE(PressOk(box->window));
    Started s = WaitForBothWindows(program);
    ASSERT_NE(s.main, nullptr);
    ASSERT_NE(s.console, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(s.main) != FALSE; }, 5s));
    EXPECT_FALSE(IsWindowVisible(s.console));
    CloseAndExpectExitCode(program, s.main, 0);
}

TEST(ConsoleHandlers, AnErrorInFormDestroyIsShownAndShutdownGoesOn)
{
    StartOptions options;
    options.environment = {{"ZV_FAIL_AT", "FormSetings.FormDestroy"}};
    Program program(TestExe(), options);
    Started s = WaitForBothWindows(program);
    ASSERT_NE(s.main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(s.main) != FALSE; }, 5s));
    EXPECT_TRUE(MessageBoxes(program.Pid()).empty());
    Close(s.main);
    auto box = WaitForMessageBox(program.Pid(), 10s);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, "Zentvorlumotest");
    EXPECT_EQ(box->text, "Failure injected at FormSetings.FormDestroy.");
    // The console goes first: the main window is still there while it does.
    EXPECT_TRUE(IsWindow(s.main));
    EXPECT_TRUE(IsWindow(s.console));
    ASSERT_TRUE(PressOk(box->window));
    auto code = program.WaitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST(ShowState, TheLauncherShowStateIsHonoured)
{
    struct Case {
        const char* name;
        std::optional<WORD> show;
        bool maximized;
        bool minimized;
    };
    // A minimised start does not take the activation; every other one does.
    const Case cases[] = {
        {"default", std::nullopt, false, false},
        {"normal", SW_SHOWNORMAL, false, false},
        {"maximised", SW_SHOWMAXIMIZED, true, false},
        {"minimised without activation", SW_SHOWMINNOACTIVE, false, true},
        {"minimise", SW_MINIMIZE, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartOptions options;
        options.show = c.show;
        Program program(ShippedExe(), options);
        Started s = WaitForBothWindows(program);
        ASSERT_NE(s.main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(s.main) != FALSE; }, 5s));
        ASSERT_TRUE(Responsive(s.main));
        EXPECT_EQ(IsZoomed(s.main) != FALSE, c.maximized);
        EXPECT_EQ(IsIconic(s.main) != FALSE, c.minimized);
        EXPECT_FALSE(IsWindowVisible(s.console));
        if (c.minimized)
            EXPECT_NE(ProcessOf(GetForegroundWindow()), program.Pid());
        else
            EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == s.main; }, 2s));
        if (c.maximized) {
            RECT r{};
            GetWindowRect(s.main, &r);
            EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
        }
        CloseAndExpectExitCode(program, s.main, 0);
    }
}
