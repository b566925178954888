// TFormMain: the compact monitor window, the program's main window. Created
// first at start-up; a borderless 475 x 265 window (at 96 dpi; scaled with
// its skin and outline at others) centred on the screen,
// cut to the skin's outline. It shows the monitoring run it watches (host,
// figures, START or STOP, and the chart through its feed); its clicks are
// carried out by the console it is given. The keyboard reaches its
// windowless parts too (Tab stops, Ctrl+R, F1), and so does an
// accessibility client (CompactItems). Its widgets are private: others
// reach it through the run and these few calls. Owned by the application;
// lives until shutdown. GUI thread only.
#pragma once

#include <memory>

#include "app/CoolForm.h"
#include "app/TrayIcon.h"
#include "chart/ChartControl.h"
#include "console/ChartFeed.h"
#include "console/ConsoleAccess.h"
#include "console/FiguresTip.h"
#include "monitor/MonitorRun.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/SpeedButton.h"

class TFormMain : public tk::Form, private TMonitorRunObserver {
public:
    explicit TFormMain(tk::Component* owner);
    ~TFormMain() override;

    // Both must outlive the window.
    void Watch(TMonitorRun& run);
    void SetConsole(TConsoleAccess& console);
    // The notification-area icon over the run's figures, once the run and
    // the console are known; both must outlive the window. It is added once
    // the window has painted: the shell's answer is not worth a later paint.
    void ShowTrayIcon(TRunFiguresFeed& figures, THistoryService& history);

    // The run figures' tip over the chart and the average labels: they must
    // outlive the window, or be taken back with nullptr first.
    void ShowFigures(const TRunFiguresFeed* figures);

    // START while `running` is false, STOP while it is true.
    void SetStartStop(bool running);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The icon's own messages, the right-click menu on the skin, and the
    // icon's end with the window or the session.
    bool OnTrayMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDpiChanged() override;
    bool ShortcutKey(unsigned vk) override;
    FocusMarkShape FocusMarkOf(const tk::GraphicControl& control) const override;

private:
    // Back to front, as the window shows them.
    TCoolForm* CoolForm1 = nullptr;
    tk::Label* lbHost = nullptr;
    tk::Image* Image1 = nullptr;
    tk::Image* Image2 = nullptr;
    tk::SpeedButton* SpeedButton1 = nullptr;
    tk::Image* Image3 = nullptr;
    tk::Label* Label6 = nullptr;
    tk::Label* lbAVG = nullptr;
    tk::Image* Image4 = nullptr;
    tk::Image* Image5 = nullptr;
    TChartControl* Chart1 = nullptr;
    // The run figures over the chart and the average labels.
    TFiguresTip* FiguresTip = nullptr;

    void Image1Click(tk::Component* Sender);
    void Image2Click(tk::Component* Sender);
    void lbAVGClick(tk::Component* Sender);
    void StartStopClick(tk::Component* Sender);
    void SpeedButton1Click(tk::Component* Sender);

    void AddTrayIcon();
    void HostChanged(const TMonitorRun& run) override;
    void RepeatChanged(const TMonitorRun& run) override;
    void StatisticsChanged(const TMonitorRun& run) override;

    tk::Image* NewImage(const char* name, tk::Rect bounds);
    tk::Label* NewLabel(const char* name, tk::Rect bounds, const char* text, HFONT font);
    // The skin with its outline, and the pictures, at the window's DPI.
    void LoadArtwork();
    // Names, roles, Tab stops and reading order from kCompactItems.
    void DescribeItems();

    std::unique_ptr<TChartFeed> chartFeed_;
    std::unique_ptr<TTrayIcon> trayIcon_;
    TRunFiguresFeed* trayFigures_ = nullptr;
    THistoryService* trayHistory_ = nullptr;
    TMonitorRun* run_ = nullptr;
    TConsoleAccess* console_ = nullptr;
};

extern TFormMain* FormMain;
