// The test driver: drives a program under test from a second Win32 process
// in the same Wine prefix, as a user would. It starts the program, finds its
// windows and controls, reads texts, list-view rows and message boxes,
// clicks, closes, waits for the exit code and takes screenshots. Every wait
// is bounded; every failure to find something returns null/empty, so the
// calling test decides what is an error.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zvdrive {

using std::chrono::milliseconds;

// Paths inside the build tree named by ZV_BUILD_DIR (a Linux path): what
// the tests read (the programs).
std::string BuildDir();
std::string WindowsPath(const std::string& unixPath); // "Z:" + path with backslashes
std::string BuildFile(const std::string& relative);   // Windows path of BuildDir()/relative
// Where the tests write (copies, settings, screenshots): the Wine runtime's
// own folder of the tree (ZV_WINE_STATE), so two runtimes can run one test
// side by side; the build tree itself when none is named.
std::string WorkDir();
std::string WorkFile(const std::string& relative); // Windows path of WorkDir()/relative, its folders made

// A file's bytes, or nothing when it cannot be opened; a program may be
// writing it meanwhile.
std::optional<std::string> ReadFileBytes(const std::string& path);
// `bytes` as the whole of the file, a read-only one made writable first.
// False if not written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The settings file and host history a test that presses START writes beside
// the program: loopback as the only host and the longest repeat interval, so
// START never pings anything else while the test runs. False if not written.
bool WriteLoopbackFiles(const std::string& folder);
// `program` copied into `folder` (made if need be) with those files; the
// copy's path, or "" when anything failed.
std::string LoopbackCopy(const std::string& folder, const std::string& program);

struct StartOptions {
    // STARTUPINFO.wShowWindow, passed with STARTF_USESHOWWINDOW when set.
    std::optional<WORD> show;
    // Extra environment variables for the program only.
    std::vector<std::pair<std::string, std::string>> environment;
};

// A started program. Killed on destruction if it still runs, so a failing
// test leaves nothing behind.
class Program {
public:
    // Throws std::runtime_error when the program cannot be started.
    Program(const std::string& exePath, const StartOptions& options = {});
    // A program in a folder the ANSI code page cannot spell.
    explicit Program(const std::wstring& exePath);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Pid() const { return info_.dwProcessId; }
    bool Running() const;
    // The exit code, or nothing if the program still runs after `timeout`.
    std::optional<DWORD> WaitForExit(milliseconds timeout);
    void Kill();

private:
    PROCESS_INFORMATION info_{};
};

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
// The name of a toolkit control, asked of its top-level window as
// toolkit/DriverProtocol.h says, or "".
std::string NameOf(HWND window);
DWORD ProcessOf(HWND window);

// Top-level windows of a process, optionally of one class only.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::string& className = "");
// Polls until a top-level window of the class appears (visible or not).
HWND WaitForWindow(DWORD pid, const std::string& className, milliseconds timeout);
// Polls until the condition holds; true if it did within the timeout.
template <class F>
bool WaitUntil(F condition, milliseconds timeout)
{
    auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Sleep(20);
    }
}

// Descendant controls: by class and exact text, or by published name.
HWND FindControl(HWND parent, const std::string& className, const std::string& text);
HWND FindNamedControl(HWND parent, const std::string& name);

// A windowless control of a toolkit window (a label, picture or hot spot),
// found by its name on the window or on any window inside it.
struct GraphicInfo {
    HWND host = nullptr; // the window it is drawn on
    RECT bounds{};       // in the host's client coordinates
    bool visible = false;
    bool enabled = false;
    std::string text;
};
std::optional<GraphicInfo> FindGraphic(HWND window, const std::string& name);

// True if the window's thread answers a message within the timeout.
bool Responsive(HWND window, milliseconds timeout = milliseconds(2000));

// Input, all posted so a modal box opened by the program cannot block us.
void Click(HWND button);
void ClickAt(HWND window, int x, int y); // client coordinates
// Clicks the middle of a named windowless control; false if there is none.
bool ClickGraphic(HWND window, const std::string& name);
void Close(HWND window);

// Report-style list views, read across the process boundary.
int ListViewRowCount(HWND listView);
std::string ListViewCell(HWND listView, int row, int column);
std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns);

enum class BoxIcon { None, Error, Warning, Information, Question, Other };
const char* ToString(BoxIcon icon);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string title;
    std::string text;
    BoxIcon icon = BoxIcon::None;
    std::vector<std::string> buttons;
};

// The message boxes ("#32770" dialogs) a process shows now.
std::vector<HWND> MessageBoxes(DWORD pid);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, milliseconds timeout);
MessageBoxInfo ReadMessageBox(HWND box);
// Presses the box's OK button; true once the box has gone.
bool PressOk(HWND box, milliseconds timeout = milliseconds(3000));

// Saves a PNG of the whole display to BuildDir()/screenshots/<name>.png with
// ImageMagick's import, run as a Linux program. Returns its Linux path, or
// "" if no file appeared in time.
std::string Screenshot(const std::string& name);
// Starts `/bin/sh -c command` on the Linux side. It cannot be waited on:
// let the command leave a file that says it is done.
bool StartShell(const std::string& command);

} // namespace zvdrive
