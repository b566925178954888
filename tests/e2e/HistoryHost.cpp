// HistoryHost: the History window and the history files' appender, hosted
// by a small program of their own until the tray's menu opens them (the
// end-to-end tests drive it). By default it shows the window over a fresh
// run and the history folder beside it; with ZV_HISTORY_WRITE=N it keeps
// history for 7 days while N replies reach a run a millisecond apart, and
// writes each report of a folder it cannot write as a line of reports.txt
// beside itself; with ZV_HISTORY_LIVE set, a reply reaches the run every
// 100 ms while the window is open.
#include <windows.h>

#include <cstdlib>

#include "console/SystemClock.h"
#include "history/FormHistory.h"
#include "history/HistoryKeeper.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"
#include "toolkit/WinFileSystem.h"
#include "toolkit/Win32Error.h"

namespace {

void Report(const std::wstring& folder, DWORD error)
{
    const std::wstring path = tk::ModuleFolder() + L"reports.txt";
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    const std::string line = tk::AnsiText(folder) + ": " + tk::SystemErrorText(error) + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

// Through the run, its feed and "Keep history", as the program will.
int Write(int rows)
{
    TMonitorRun run(ReadSystemClock);
    THistoryFeed feed(run, tk::Utf8Text);
    THistoryKeeper keeper(feed, ReadSystemClock, HistoryFolderPath(), Report);
    keeper.Apply({true, 7});
    TReplyStatus echo;
    echo.AddressFrom = "127.0.0.1";
    echo.Bytes = 32;
    echo.TimeToLive = 128;
    for (int i = 0; i < rows; ++i) {
        echo.SeqId = static_cast<std::uint16_t>(i);
        run.AddReply(echo, 200 + static_cast<std::uint32_t>(i % 50), false, "127.0.0.1", {});
        Sleep(1);
    }
    return keeper.Keeping() ? 0 : 2;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Aware of the display's DPI, as the program's manifest makes it: else
    // Wine 10 stretches its windows' pictures, and the pointer misses.
    SetProcessDPIAware();
    tk::Application application;
    if (const char* rows = std::getenv("ZV_HISTORY_WRITE"))
        return Write(std::atoi(rows));
    TMonitorRun run(ReadSystemClock);
    THistoryFeed feed(run, tk::Utf8Text);
    try {
        THistorySource source{&feed.Bins(), ReadSystemClock, feed.Started(), HistoryFolderPath(), {}, nullptr};
        application.CreateForm(FormHistory, source);
        // The main form takes the program's title; the window's own is this.
        FormHistory->SetCaption("History");
        FormHistory->Open(source.Folder);
    } catch (...) {
        application.ShowFatalException();
        return 1;
    }
    TReplyStatus echo;
    echo.AddressFrom = "127.0.0.1";
    tk::Timer replies(nullptr);
    replies.SetInterval(100);
    replies.SetEnabled(std::getenv("ZV_HISTORY_LIVE") != nullptr);
    replies.SetOnTimer([&](tk::Component*) { run.AddReply(echo, 300, false, "127.0.0.1", {}); });
    application.Run();
    return 0;
}
