// TTrayIcon: the program's icon in the notification area while it runs. Its
// picture says the link model's state in a shape (idle, up, slow, unstable,
// down), its tip the host, the state and the last five minutes; the model's
// alerts come as its balloons, with a system sound, and so does history
// going off. Its menu ("Show monitor", "Console", the repeat toggle,
// "Alerts", "&History…", "Keep history", "Keep history for", "Exit") is also the
// compact window's right-click menu. Owned by the compact window, which
// hands it its messages. GUI thread only.
#pragma once

#include <windows.h>

#include "app/HistoryService.h"
#include "console/ConsoleAccess.h"
#include "monitor/RunFiguresFeed.h"
#include "toolkit/Handles.h"
#include "toolkit/NotifyIcon.h"

class TTrayIcon : private TMonitorRunObserver {
public:
    // `owner` is the compact window; all must outlive the icon.
    TTrayIcon(HWND owner, TMonitorRun& run, TRunFiguresFeed& figures, TConsoleAccess& console,
              THistoryService& history);
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // True for the icon's own messages (its callback, the taskbar made anew).
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The session ends: Windows ends the process without destroying windows.
    void Remove() { icon_.Remove(); }
    // The menu at a point of the screen, once no ping waits.
    void ShowMenu(POINT at);

private:
    enum class TPicture { Idle, Up, Slow, Unstable, Down, Count };

    void StatisticsChanged(const TMonitorRun& run) override;
    void RepeatChanged(const TMonitorRun& run) override;
    void HostChanged(const TMonitorRun& run) override;

    TPicture PictureNow() const;
    void Refresh();
    void Alert(const TLinkAlert& alert);
    void OnIconEvent(const tk::NotifyIcon::Event& event);
    void RunMenu(POINT at);
    void Command(UINT id);
    void ShowMonitor();
    void HistoryStopped(const std::wstring& folder, unsigned long error);

    HWND owner_;
    TMonitorRun& run_;
    TRunFiguresFeed& figures_;
    TConsoleAccess& console_;
    THistoryService& history_;
    tk::NotifyIcon icon_;
    tk::Icon pictures_[static_cast<int>(TPicture::Count)];
    TPicture shown_ = TPicture::Count;
};
