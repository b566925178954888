#include "app/TrayIcon.h"

#include "monitor/LinkAlertText.h"
#include "monitor/RunTipText.h"
#include "toolkit/LocaleText.h"
#include "toolkit/ModalGate.h"
#include "toolkit/Win32Error.h"
#include "toolkit/WinFileSystem.h"

namespace {

constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_APP + 2;

// The menu's commands; the Alerts submenu's radio items carry their count.
enum : UINT {
    kShowMonitor = 1,
    kConsole,
    kRepeat,
    kExit,
    kNotify,
    kSound,
    kPauseWhenFlapping,
    kHistory,
    kKeepHistory,
    kDownAfter = 100, // + failures
    kUpAfter = 200,   // + echoes
    kSlowAbove = 300, // + the choice's index
    kHistoryDays = 400, // + days
};
struct TChoice {
    int count;
    const wchar_t* caption;
};
constexpr TChoice kDownAfterChoices[] = {
    {1, L"1 failure"}, {2, L"2 failures"}, {3, L"3 failures"}, {5, L"5 failures"}, {10, L"10 failures"}};
constexpr TChoice kUpAfterChoices[] = {{1, L"1 echo"}, {2, L"2 echoes"}, {3, L"3 echoes"}, {5, L"5 echoes"}};
constexpr TChoice kSlowAboveChoices[] = {{TAlertOptions::SlowOff, L"Off"}, {TAlertOptions::SlowAutomatic, L"Automatic"},
                                         {50, L"50 ms"}, {100, L"100 ms"}, {200, L"200 ms"}, {500, L"500 ms"},
                                         {1000, L"1000 ms"}};

constexpr TChoice kHistoryDaysChoices[] = {{7, L"7 days"}, {30, L"30 days"}, {90, L"90 days"}, {365, L"365 days"}};

const wchar_t* const kPictureNames[] = {L"STATE_IDLE", L"STATE_UP", L"STATE_SLOW", L"STATE_UNSTABLE", L"STATE_DOWN"};

// "14:02:31" (or "14:02") as the locale writes a time of day.
std::string LocaleTimeOfDay(const TWallStamp& stamp, bool seconds)
{
    const TCivilTime t = stamp.Local();
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(t.Year);
    time.wMonth = static_cast<WORD>(t.Month);
    time.wDay = static_cast<WORD>(t.Day);
    time.wHour = static_cast<WORD>(t.Hour);
    time.wMinute = static_cast<WORD>(t.Minute);
    time.wSecond = static_cast<WORD>(t.Second);
    wchar_t text[64] = L"";
    if (!GetTimeFormatW(LOCALE_USER_DEFAULT, seconds ? 0 : TIME_NOSECONDS, &time, nullptr, text, 64))
        return seconds ? ClockText(stamp, ":") : ClockText(stamp, ":").substr(0, 5);
    return tk::Utf8FromWide(text);
}

void AppendItem(HMENU menu, UINT id, const wchar_t* caption, bool checked = false, bool radio = false)
{
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
    item.fType = radio ? MFT_RADIOCHECK : MFT_STRING;
    item.fState = checked ? MFS_CHECKED : MFS_UNCHECKED;
    item.wID = id;
    item.dwTypeData = const_cast<wchar_t*>(caption);
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &item);
}

// A submenu of radio items, one checked when it is the value in force.
template <std::size_t N>
void AppendChoices(HMENU menu, const wchar_t* caption, const TChoice (&choices)[N], int value, UINT first,
                   bool byIndex)
{
    HMENU sub = CreatePopupMenu();
    for (std::size_t i = 0; i < N; ++i)
        AppendItem(sub, first + static_cast<UINT>(byIndex ? static_cast<int>(i) : choices[i].count),
                   choices[i].caption, value == choices[i].count, true);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), caption);
}

HMENU AlertsMenu(const TAlertOptions& options)
{
    HMENU menu = CreatePopupMenu();
    AppendItem(menu, kNotify, L"Notify when the host goes down or comes back", options.Notify);
    AppendItem(menu, kSound, L"Play a sound", options.Sound);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendChoices(menu, L"Down after", kDownAfterChoices, options.DownAfter, kDownAfter, false);
    AppendChoices(menu, L"Up after", kUpAfterChoices, options.UpAfter, kUpAfter, false);
    AppendChoices(menu, L"Slow above", kSlowAboveChoices, options.SlowAbove, kSlowAbove, true);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, kPauseWhenFlapping, L"Pause alerts while the link flaps", options.PauseWhenFlapping);
    return menu;
}

// Bad news warns; a sound apart for each kind of news.
bool Warns(TLinkAlert::TKind kind)
{
    using K = TLinkAlert::TKind;
    return kind == K::Down || kind == K::Slow || kind == K::KeepsDropping || kind == K::KeepsSlowing;
}

UINT SoundOf(TLinkAlert::TKind kind)
{
    using K = TLinkAlert::TKind;
    switch (kind) {
    case K::Down:
    case K::KeepsDropping: return MB_ICONHAND;
    case K::Slow:
    case K::FastAgain:
    case K::KeepsSlowing: return MB_ICONEXCLAMATION;
    default: return MB_ICONASTERISK;
    }
}

} // namespace

TTrayIcon::TTrayIcon(HWND owner, TMonitorRun& run, TRunFiguresFeed& figures, TConsoleAccess& console,
                     THistoryService& history)
    : owner_(owner), run_(run), figures_(figures), console_(console), history_(history),
      icon_(owner, kIconId, kCallbackMessage)
{
    history_.OnStopped([this](const std::wstring& folder, unsigned long error) { HistoryStopped(folder, error); });
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int i = 0; i < static_cast<int>(TPicture::Count); ++i)
        pictures_[i] = tk::LoadSmallIcon(instance, kPictureNames[i]);
    figures_.Link().OnAlert([this](const TLinkAlert& alert) { Alert(alert); });
    figures_.Link().OnChange([this](const TLinkChange&) { Refresh(); });
    // An elevated program would not hear that Explorer made its taskbar anew.
    tk::NotifyIcon::AllowTaskbarCreated(owner_);
    run_.Subscribe(*this);
    Refresh();
}

TTrayIcon::~TTrayIcon()
{
    figures_.Link().OnAlert(nullptr);
    figures_.Link().OnChange(nullptr);
    history_.OnStopped(nullptr);
    run_.Unsubscribe(*this);
}

// Starting (and asleep) read as up: nothing is known against the host yet.
TTrayIcon::TPicture TTrayIcon::PictureNow() const
{
    switch (figures_.Link().Shown()) {
    case TLinkState::Idle: return TPicture::Idle;
    case TLinkState::Down: return TPicture::Down;
    case TLinkState::Unstable: return TPicture::Unstable;
    case TLinkState::Slow: return TPicture::Slow;
    default: return TPicture::Up;
    }
}

void TTrayIcon::Refresh()
{
    const txt::NumberSeparators locale = tk::ReadLocaleSeparators();
    const std::string tip = NotifyTipText(tk::Utf8Text(run_.Host()), figures_.Link(),
                                          {tk::Utf8Text(locale.Decimal), tk::Utf8Text(locale.Thousand)});
    const TPicture picture = PictureNow();
    const std::wstring wideTip = tk::WideFromUtf8(tip);
    if (!icon_.Shown() || picture != shown_) {
        shown_ = picture;
        icon_.Show(pictures_[static_cast<int>(picture)].Get(), wideTip);
    } else if (wideTip != icon_.Tip()) {
        icon_.SetTip(wideTip);
    }
}

void TTrayIcon::StatisticsChanged(const TMonitorRun&)
{
    Refresh();
}

void TTrayIcon::RepeatChanged(const TMonitorRun&)
{
    Refresh();
}

void TTrayIcon::HostChanged(const TMonitorRun&)
{
    Refresh();
}

// Never a box and never the focus: a balloon, and a sound of its own.
void TTrayIcon::Alert(const TLinkAlert& alert)
{
    const TAlertOptions& options = run_.AlertOptions();
    if (options.Notify) {
        TLinkAlert words = alert;
        words.Host = tk::Utf8Text(alert.Host);
        icon_.ShowBalloon(tk::WideFromUtf8(AlertTitle(words)), tk::WideFromUtf8(AlertText(words, LocaleTimeOfDay)),
                          Warns(alert.Kind) ? tk::NotifyIcon::BalloonKind::Warning : tk::NotifyIcon::BalloonKind::Info);
    }
    if (options.Sound)
        MessageBeep(SoundOf(alert.Kind));
}

// One balloon, never a box: history is off until the user turns it on again.
void TTrayIcon::HistoryStopped(const std::wstring& folder, unsigned long error)
{
    icon_.ShowBalloon(L"History is no longer kept",
                      L"Cannot write to " + folder + L": " + tk::WideFromUtf8(tk::Utf8Text(tk::SystemErrorText(error))),
                      tk::NotifyIcon::BalloonKind::Warning);
}

bool TTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == tk::NotifyIcon::TaskbarCreatedMessage()) {
        icon_.Restore();
        return true;
    }
    if (message != kCallbackMessage)
        return false;
    OnIconEvent(icon_.Decode(wParam, lParam));
    return true;
}

void TTrayIcon::OnIconEvent(const tk::NotifyIcon::Event& event)
{
    switch (event.message) {
    case WM_LBUTTONUP:
    case NIN_SELECT:
        ShowMonitor();
        break;
    case NIN_KEYSELECT:
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
        ShowMenu(event.anchor);
        break;
    }
}

void TTrayIcon::ShowMonitor()
{
    ShowWindow(owner_, SW_SHOW);
    if (IsIconic(owner_))
        ShowWindow(owner_, SW_RESTORE);
    SetForegroundWindow(owner_);
}

void TTrayIcon::ShowMenu(POINT at)
{
    tk::ModalGate::Open([this, at] { RunMenu(at); });
}

void TTrayIcon::RunMenu(POINT at)
{
    HMENU menu = CreatePopupMenu();
    AppendItem(menu, kShowMonitor, L"Show monitor");
    AppendItem(menu, kConsole, L"Console");
    AppendItem(menu, kRepeat, console_.RepeatDown() ? L"End repeat Ping" : L"Start repeat Ping");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(AlertsMenu(run_.AlertOptions())), L"Alerts");
    AppendItem(menu, kHistory, L"&History\u2026");
    AppendItem(menu, kKeepHistory, L"Keep history", run_.HistoryOptions().Keep);
    AppendChoices(menu, L"Keep history for", kHistoryDaysChoices, run_.HistoryOptions().Days, kHistoryDays, false);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, kExit, L"Exit");
    // A menu of a notification icon closes when the user clicks elsewhere
    // only if its window is in front.
    SetForegroundWindow(owner_);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, owner_, nullptr));
    PostMessageW(owner_, WM_NULL, 0, 0);
    DestroyMenu(menu); // and its submenu with it
    Command(chosen);
}

void TTrayIcon::Command(UINT id)
{
    THistoryOptions history = run_.HistoryOptions();
    if (id == kKeepHistory)
        history.Keep = !history.Keep;
    else if (id > kHistoryDays && id <= kHistoryDays + 365)
        history.Days = static_cast<int>(id - kHistoryDays);
    if (history != run_.HistoryOptions())
        return run_.SetHistoryOptions(history);
    TAlertOptions options = run_.AlertOptions();
    if (id >= kSlowAbove && id < kSlowAbove + std::size(kSlowAboveChoices))
        options.SlowAbove = kSlowAboveChoices[id - kSlowAbove].count;
    else if (id > kUpAfter && id < kSlowAbove)
        options.UpAfter = static_cast<int>(id - kUpAfter);
    else if (id > kDownAfter && id < kUpAfter)
        options.DownAfter = static_cast<int>(id - kDownAfter);
    switch (id) {
    case 0: return;
    case kShowMonitor: return ShowMonitor();
    case kConsole: return console_.ShowConsole();
    case kHistory: return history_.ShowWindow();
    case kRepeat:
        // As the compact window's START/STOP does.
        console_.SetRepeatDown(!console_.RepeatDown());
        return console_.spbRepPingClick(nullptr);
    case kExit:
        // Closing the compact window ends the program with its saves.
        PostMessageW(owner_, WM_CLOSE, 0, 0);
        return;
    case kNotify: options.Notify = !options.Notify; break;
    case kSound: options.Sound = !options.Sound; break;
    case kPauseWhenFlapping: options.PauseWhenFlapping = !options.PauseWhenFlapping; break;
    }
    if (options != run_.AlertOptions())
        run_.SetAlertOptions(options);
}
