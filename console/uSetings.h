// TFormSetings: the console window. Created second at start-up, hidden; it
// only hides when closed and is destroyed at shutdown, before the main
// window. It owns its controls, the repeat timer and the version reader,
// reads the settings file and host history when created and writes them
// when destroyed (or when the session ends). It files every ping in the
// monitoring run it is given and shows the run's lists; the compact window
// reaches it through TConsoleAccess. Owned by the application. GUI thread
// only.
//
// Its code is split by role: the layout of its controls (uSetings.cpp),
// ping control, the lists and statistics (uSetingsPing.cpp), the settings
// and host history (uSetingsSettings.cpp), copy and CSV export
// (uSetingsExport.cpp) and the About page (uSetingsAbout.cpp).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console/ConsoleAccess.h"
#include "console/FiguresTip.h"
#include "icmp/IdAntiFreeze.h"
#include "icmp/IdIcmpClient.h"
#include "monitor/ExportText.h"
#include "monitor/MonitorRun.h"
#include "monitor/ReplyText.h"
#include "monitor/RunFiguresFeed.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ColorBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/ListView.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panel.h"
#include "toolkit/SaveCsv.h"
#include "toolkit/Shape.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"
#include "version/ZentVersion.h"

class TFormSetings : public tk::Form, public TConsoleAccess, private TMonitorRunObserver {
public:
    // `run` outlives the window.
    TFormSetings(tk::Component* owner, TMonitorRun& run);
    ~TFormSetings() override;

    // What the compact window asks of the console.
    void SelectPage(TConsolePage page) override;
    bool HostBoxEnabled() const override;
    void FocusHostBox() override;
    void ShowConsole() override;
    bool RepeatDown() const override;
    void SetRepeatDown(bool down) override;
    void spbRepPingClick(tk::Component* Sender) override;

    // The run's figures to show in the tip over the statistics and in the
    // outage report; null for none. Must outlive the window.
    void ShowFigures(const TRunFiguresFeed* figures);

protected:
    void FormCreate() override;
    void FormDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(int cx, int cy) override;
    void OnDpiChanged() override;

private:
    // The console benchmark drives the window as a user would, faster.
    friend struct TConsoleBench;
    // Opens the menus and dialogs kept while a ping waited.
    static constexpr UINT kOpenHeldMessage = WM_APP + 1;

    // Layout (uSetings.cpp): the controls in the order the window shows them.
    HFONT BoldFont() { return ScaledFont("MS Sans Serif", 8, true); }
    // Labels the font makes wider than their place grow to their text.
    void FitToText(tk::Label& label);
    void CreateHostBar();
    void CreatePages();
    tk::ListView* CreateList(tk::TabSheet* sheet, const char* name, TRunLog log);
    void CreateSettingsPage();
    void CreateStatisticsBar();
    tk::Label* AddLabel(tk::CustomControl* parent, const char* name, tk::Rect bounds, const std::string& caption,
                        bool bold = false, tk::Alignment alignment = tk::Alignment::Left);
    tk::SpinEdit* AddSpinEdit(tk::WinControl* parent, const char* name, tk::Rect bounds, int minValue, int maxValue,
                              int increment, int value);
    tk::CheckBox* AddCheckBox(tk::WinControl* parent, const char* name, tk::Rect bounds, const std::string& caption);
    void Realign(int width, int height);
    static int DesignClientHeight();
    int DesignPagesHeight() const;
    tk::Rect SheetArea() const;
    void OnGetMinMaxInfo(MINMAXINFO& info);
    void BitBtn2Click(tk::Component* Sender);
    void cbHostChange(tk::Component* Sender);
    void chb3DClick(tk::Component* Sender);
    void AVGColorBoxChange(tk::Component* Sender);
    void DataColorBoxChange(tk::Component* Sender);

    // Ping control, the two lists and the statistics (uSetingsPing.cpp).
    void CreatePingComponents();
    void BitBtnPingClick(tk::Component* Sender);
    void Timer1Timer(tk::Component* Sender);
    void RunTimerTick(tk::Component* Sender);
    void IdIcmpClientReply(tk::Component* ASender, const TReplyStatus& AReplyStatus);
    void AddEchoReply(TReplyStatus AReplyStatus);
    void AddErrorReply(TReplyStatus AReplyStatus);
    double GetAvgTripTime();
    void UpdateStatistics();
    void BitBtnClearDataClick(tk::Component* Sender);
    void BitBtn1Click(tk::Component* Sender);
    TListLimits Limits() const;
    // Sleep and resume: the system's word (repeat pinging paused in
    // between), or a gap between two ticks far longer than a tick can take;
    // either way no catch-up pings follow.
    void OnPowerBroadcast(WPARAM event);
    bool SleptSinceLastTick();
    void RegisterForSleep();
    void UnregisterForSleep();
    void EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void EchoesCleared(const TMonitorRun& run) override;
    void ErrorsCleared(const TMonitorRun& run) override;
#ifdef ZV_TEST_HOOKS
    bool TakeTestReply(UINT message, WPARAM wParam);
#endif

    // Settings and host history (uSetingsSettings.cpp).
    struct SettingBinding;
    // Each settings key with the control that shows it, in key order.
    static const SettingBinding kSettingBindings[];
    void LoadSettings();
    void SaveSettings();
    void LoadHostHistory();
    void SaveHostHistory();
    void AddHostToHistory(const std::string& host);
    void OnEndSession(bool ending);
    // Settings, then history; once only, whichever of session end and
    // destruction comes first.
    void SaveOnce();

    // Copy, select-all and CSV commands of the lists (uSetingsExport.cpp).
    void CreateListCommands();
    TRunLog LogOf(const tk::ListView& list) const;
    void CopyRows(tk::ListView& list);
    void SaveRowsAsCsv(tk::ListView& list, const char* what);
    // The error log's outage report: one line per outage of the run.
    void CopyOutageReport();
    void SaveOutagesAsCsv();
    // Asks for the file, then writes the text made at that moment.
    void SaveCsvAs(const char* what, const tk::FileMaker& produce);

    // The About page (uSetingsAbout.cpp).
    HFONT LinkFont(bool hovered) { return ScaledFont("MS Sans Serif", 8, false, hovered); }
    void CreateAboutPage();
    void CreateAboutPanel();
    void LoadAboutPicture();
    tk::LinkLabel* AddLink(const char* name, int top, const std::string& caption);
    void OpenLink(const char* address);
    void Label10MouseEnter(tk::Component* Sender);
    void Label10MouseLeave(tk::Component* Sender);
    void Label10Click(tk::Component* Sender);
    void Label11Click(tk::Component* Sender);
    void Label19Click(tk::Component* Sender);
    void ShowAboutInfo();
    std::string GetLocalIPAddress();

    tk::Panel* Panel1 = nullptr;
    tk::Label* Label1 = nullptr;
    tk::ComboBox* cbHost = nullptr;
    tk::ToggleButton* spbRepPing = nullptr;
    tk::Button* BitBtnPing = nullptr;

    tk::PageControl* PageControl1 = nullptr;
    tk::TabSheet* TabSheet1 = nullptr;
    tk::ListView* ListView1 = nullptr;
    tk::TabSheet* TabSheet2 = nullptr;
    tk::ListView* ListViewError = nullptr;
    tk::TabSheet* TabSheet3 = nullptr;
    tk::GroupBox* GroupBox1 = nullptr;
    tk::Label* Label5 = nullptr;
    tk::SpinEdit* speMaxLine = nullptr;
    tk::CheckBox* chbErrLines = nullptr;
    tk::CheckBox* chbClearLogs = nullptr;
    tk::CheckBox* chbIgnoreFirst = nullptr;
    tk::GroupBox* GroupBox2 = nullptr;
    tk::CheckBox* chb3D = nullptr;
    tk::Label* Label17 = nullptr;
    tk::ColorBox* DataColorBox = nullptr;
    tk::Label* Label8 = nullptr;
    tk::ColorBox* AVGColorBox = nullptr;
    tk::GroupBox* GroupBox3 = nullptr;
    tk::Label* Label2 = nullptr;
    tk::SpinEdit* speTimeout = nullptr;
    tk::Label* Label3 = nullptr;
    tk::SpinEdit* speRepeat = nullptr;
    tk::Label* Label15 = nullptr;
    tk::SpinEdit* speMaxHosts = nullptr;
    tk::Label* Label4 = nullptr;
    tk::SpinEdit* speBuffer = nullptr;
    tk::TabSheet* TabSheet4 = nullptr;
    tk::Shape* Shape1 = nullptr;
    tk::Image* Image1 = nullptr;
    tk::Panel* Panel4 = nullptr;
    tk::Shape* Shape2 = nullptr;
    tk::Label* Label9 = nullptr;
    tk::LinkLabel* Label10 = nullptr;
    tk::Label* Label12 = nullptr;
    tk::LinkLabel* Label11 = nullptr;
    tk::Label* Label16 = nullptr;
    tk::Label* lbVersion = nullptr;
    tk::Label* Label18 = nullptr;
    tk::LinkLabel* Label19 = nullptr;
    tk::Label* Label20 = nullptr;
    tk::Label* lbIPAdress = nullptr;

    tk::Panel* Panel2 = nullptr;
    tk::Label* Label6 = nullptr;
    tk::Label* lbAVG = nullptr;
    tk::Label* Label7 = nullptr;
    tk::Label* lbErrorCount = nullptr;
    tk::Button* BitBtnClearData = nullptr;
    tk::Button* BitBtn1 = nullptr;
    tk::BitBtn* BitBtn2 = nullptr;
    tk::StatusBar* StatusBar1 = nullptr;

    tk::Timer* Timer1 = nullptr;
    TIdIcmpClient* IdIcmpClient = nullptr;
    TIdAntiFreeze* IdAntiFreeze1 = nullptr;
    TZentVersion* ZentVersion1 = nullptr;

    // The echo counter FEchoCount, every record and what the two lists hold.
    TMonitorRun& run_;
    // The run's figures, shown in a tip over the statistics; none until given.
    const TRunFiguresFeed* figures_ = nullptr;
    TFiguresTip* figuresTip_ = nullptr;
    // The precise trip time of the reply being handled, in microseconds.
    std::uint32_t tripUs_ = 0;
    bool heldUp_ = false;
    bool pinging_ = false;
    // When the last tick began, while repeat pinging runs.
    std::optional<TClockReading> lastTick_;
    // From RegisterSuspendResumeNotification, where the system has it.
    HANDLE sleepNotification_ = nullptr;
    bool saved_ = false;
    bool focusHostOnShow_ = false;
    // Where the last CSV was saved in this run; the program's folder before.
    std::wstring exportFolder_;
    std::vector<tk::Label*> fitted_;
};

extern TFormSetings* FormSetings;
