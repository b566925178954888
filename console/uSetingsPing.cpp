// The console's ping control and its two logs: single and repeat pings,
// every ping filed in the monitoring run (a reply, or a ping that raised an
// error), the two lists as views of the run, and the statistics. Members
// of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include <windows.h>

#include <algorithm>

#include "console/HostHistory.h"
#include "toolkit/Application.h"
#include "toolkit/Guarded.h"
#include "toolkit/SystemFunction.h"
#include "toolkit/LocaleText.h"
#include "toolkit/ModalGate.h"
#include "toolkit/TestHooks.h"

namespace {

// The list shows the run's rows: 10001 rows of each cost a few hundred
// kilobytes there, against several megabytes as list items.
tk::ListView::CellSource RowsOf(const TMonitorRun& run, TRunLog log)
{
    return [&run, log](int row, int column) {
        const int rows = log == TRunLog::Echoes ? run.EchoRows() : run.ErrorRows();
        if (row >= rows)
            return std::string();
        const TPingRecord& record = log == TRunLog::Echoes ? run.Echo(row) : run.Error(row);
        // Only the error log shows a time; the separator is the locale's now.
        return CellText(log, record, column, log == TRunLog::Errors ? tk::ReadLocaleTimeSeparator() : std::string());
    };
}

} // namespace

void TFormSetings::CreatePingComponents()
{
    IdIcmpClient = new TIdIcmpClient(this);
    IdIcmpClient->SetOnReply([this](tk::Component* s, const TReplyStatus& r) { IdIcmpClientReply(s, r); });
    IdAntiFreeze1 = new TIdAntiFreeze(this);
    BitBtnPing->OnClick = [this](tk::Component* s) { BitBtnPingClick(s); };
    BitBtn1->OnClick = [this](tk::Component* s) { BitBtn1Click(s); };
    Timer1->SetOnTimer([this](tk::Component* s) { RunTimerTick(s); });
    ListView1->SetCellSource(RowsOf(run_, TRunLog::Echoes));
    ListViewError->SetCellSource(RowsOf(run_, TRunLog::Errors));
    figuresTip_ = new TFiguresTip(this, this);
    for (tk::Label* figure : {Label6, lbAVG, Label7, lbErrorCount})
        figuresTip_->AddTool(figure);
}

void TFormSetings::ShowFigures(const TRunFiguresFeed* figures)
{
    figures_ = figures;
    figuresTip_->SetFigures(figures);
}

void TFormSetings::BitBtnPingClick(tk::Component* Sender)
{
    (void)Sender;
    // Input is handled while a ping waits: a second click then is ignored,
    // so the client never serves two pings at once.
    if (pinging_)
        return;
    const std::string host(TrimControls(cbHost->Text()));
    if (host.empty())
        return;
    AddHostToHistory(host);
    IdIcmpClient->SetReceiveTimeout(speTimeout->ClampedValue());
    IdIcmpClient->SetHost(cbHost->Text());
    IdIcmpClient->SetBufferSize(speBuffer->ClampedValue());
    pinging_ = true;
    struct Waiting {
        bool& flag;
        ~Waiting() { flag = false; }
    } waiting{pinging_};
    try {
        // A menu or dialog of ours asked for while the ping waits would hold
        // the wait up: it opens once the ping has ended.
        tk::ModalGate::Hold hold;
        IdIcmpClient->Ping(std::string(), 0);
    } catch (const std::exception& e) {
        // A ping that raised an error sent nothing: the run files it apart,
        // and the error goes on to the error box.
        tk::ModalGate::Drop();
        run_.AddNotSent(cbHost->Text(), e.what());
        throw;
    }
    // After the message that brought the click; a timer's tick holds on
    // and posts this itself once it is over.
    if (!tk::ModalGate::Held())
        PostMessageA(Handle(), kOpenHeldMessage, 0, 0);
}

void TFormSetings::Timer1Timer(tk::Component* Sender)
{
    Timer1->SetEnabled(false);
    // Paused from the suspend to the resume, which arms the timer again.
    if (run_.Suspended())
        return;
    // After a sleep nobody told us of, the waiting tick comes at once: it
    // pings not, and the next one comes an interval on.
    if (SleptSinceLastTick()) {
        Timer1->SetEnabled(spbRepPing->Down());
        return;
    }
    // A menu or dialog of ours asked for during the tick opens once the
    // timer is armed again, so that pinging goes on while it is open.
    tk::ModalGate::Hold hold;
    // On every way out. A failed tick leaves the timer off: RunTimerTick
    // re-arms it once the error box has been closed.
    struct Restore {
        TFormSetings& form;
        int failing = std::uncaught_exceptions();
        ~Restore()
        {
            tk::TheApplication->SetScreenCursor(nullptr);
            if (std::uncaught_exceptions() != failing)
                return;
            form.Timer1->SetEnabled(form.spbRepPing->Down());
            PostMessageA(form.Handle(), kOpenHeldMessage, 0, 0);
        }
    } restore{*this};
    tk::TheApplication->SetScreenCursor(tk::SystemCursor(reinterpret_cast<LPCSTR>(IDC_WAIT)));
    tk::TheApplication->ProcessMessages();
    BitBtnPingClick(Sender);
    tk::TheApplication->ProcessMessages();
}

void TFormSetings::RunTimerTick(tk::Component* Sender)
{
    // The error box of a failed tick opens inside Guarded, with the timer
    // off, so no further tick fails meanwhile and boxes never pile up.
    if (!tk::Guarded([&] { Timer1Timer(Sender); }))
        Timer1->SetEnabled(spbRepPing->Down());
}

void TFormSetings::IdIcmpClientReply(tk::Component* ASender, const TReplyStatus& AReplyStatus)
{
    // Our client measured the exchange to the microsecond; a reply handed
    // in by anything else has only its milliseconds.
    const bool ours = ASender == IdIcmpClient;
    tripUs_ = ours ? IdIcmpClient->PreciseTripTime()
                   : std::min<std::uint32_t>(AReplyStatus.TripTime, UINT32_MAX / 1000) * 1000;
    heldUp_ = ours && IdIcmpClient->WaitHeldUp();
    if (AReplyStatus.Kind == rsEcho)
        AddEchoReply(AReplyStatus);
    else
        AddErrorReply(AReplyStatus);
}

namespace {

// Windows 8 and later tell a window of sleeps only when it asks.
using RegisterSuspendResume = HANDLE(WINAPI*)(HANDLE recipient, DWORD flags);
using UnregisterSuspendResume = BOOL(WINAPI*)(HANDLE notification);
constexpr DWORD kNotifyWindowHandle = 0; // DEVICE_NOTIFY_WINDOW_HANDLE

} // namespace

void TFormSetings::RegisterForSleep()
{
    static const auto registerFor =
        tk::SystemFunction<RegisterSuspendResume>(L"user32.dll", "RegisterSuspendResumeNotification");
    if (registerFor && !sleepNotification_)
        sleepNotification_ = registerFor(Handle(), kNotifyWindowHandle);
}

void TFormSetings::UnregisterForSleep()
{
    static const auto unregister =
        tk::SystemFunction<UnregisterSuspendResume>(L"user32.dll", "UnregisterSuspendResumeNotification");
    if (unregister && sleepNotification_)
        unregister(sleepNotification_);
    sleepNotification_ = nullptr;
}

void TFormSetings::OnPowerBroadcast(WPARAM event)
{
    switch (event) {
    case PBT_APMSUSPEND:
        run_.Suspend();
        Timer1->SetEnabled(false);
        break;
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMEAUTOMATIC:
        // Either may come first, or both: the run takes the first.
        if (run_.Suspended()) {
            run_.Resume();
            lastTick_.reset();
            Timer1->SetEnabled(spbRepPing->Down());
        }
        break;
    }
}

// More than three intervals and a time-out since the last tick began: the
// program stood still (a sleep, a frozen process), which the run files.
bool TFormSetings::SleptSinceLastTick()
{
    const TClockReading now = run_.Now();
    const std::optional<TClockReading> last = std::exchange(lastTick_, now);
    const auto gap = std::chrono::milliseconds(3LL * speRepeat->ClampedValue() + speTimeout->ClampedValue());
    if (!last || now.Mono - last->Mono <= gap)
        return false;
    run_.AddSleep(*last);
    return true;
}

TListLimits TFormSetings::Limits() const
{
    return {speMaxLine->ClampedValue(), chbErrLines->Checked(), chbIgnoreFirst->Checked()};
}

void TFormSetings::AddEchoReply(TReplyStatus AReplyStatus)
{
    // The run counts the reply and drops or lists it. Its views follow a
    // listed one: the oldest row and chart point out when the list is over
    // the limit, the new row and point in, the average recomputed.
    if (run_.AddReply(AReplyStatus, tripUs_, heldUp_, cbHost->Text(), Limits()))
        UpdateStatistics();
}

void TFormSetings::AddErrorReply(TReplyStatus AReplyStatus)
{
    run_.AddReply(AReplyStatus, tripUs_, heldUp_, cbHost->Text(), Limits());
    UpdateStatistics();
}

double TFormSetings::GetAvgTripTime()
{
    return run_.AverageTripTime();
}

void TFormSetings::UpdateStatistics()
{
    tk::TheApplication->ProcessMessages();
    lbErrorCount->SetText(std::to_string(run_.ErrorRows()));
    // From the exact sum and count, so that a half rounds up on the value a
    // person would work out; GetAvgTripTime gives the same mean as a double.
    lbAVG->SetText(AverageTripTimeText(run_, tk::ReadLocaleSeparators()) + " [ms]");
    // The compact window's line, and any other view of the figures.
    run_.PublishStatistics();
    figuresTip_->Refresh();
    tk::TheApplication->ProcessMessages();
}

void TFormSetings::BitBtnClearDataClick(tk::Component* Sender)
{
    (void)Sender;
    // The reply list, the chart's data series and FEchoCount; not the error log.
    run_.ClearData();
    UpdateStatistics();
}

void TFormSetings::BitBtn1Click(tk::Component* Sender)
{
    (void)Sender;
    run_.ClearErrors();
    UpdateStatistics();
}

// The selection stays on its rows as the new one goes in at the top.
void TFormSetings::EchoAdded(const TMonitorRun& run, const TPingRecord&, bool)
{
    ListView1->SetRowCountAddedAtTop(1, run.EchoRows());
}

void TFormSetings::FailureAdded(const TMonitorRun& run, const TPingRecord&, bool)
{
    ListViewError->SetRowCountAddedAtTop(1, run.ErrorRows());
}

void TFormSetings::EchoesCleared(const TMonitorRun&)
{
    ListView1->Clear();
}

void TFormSetings::ErrorsCleared(const TMonitorRun&)
{
    ListViewError->Clear();
}

bool TFormSetings::RepeatDown() const
{
    return spbRepPing->Down();
}

void TFormSetings::SetRepeatDown(bool down)
{
    spbRepPing->SetDown(down);
}

void TFormSetings::spbRepPingClick(tk::Component* Sender)
{
    const bool down = spbRepPing->Down();
    lastTick_.reset(); // a pause between two runs is no sleep
    spbRepPing->SetText(down ? "End repeat Ping" : "Start repeat Ping");
    Timer1->SetInterval(static_cast<unsigned>(speRepeat->ClampedValue()));
    Timer1->SetEnabled(down);
    for (tk::WinControl* control : std::initializer_list<tk::WinControl*>{
             speRepeat, cbHost, BitBtnPing, speTimeout, speMaxLine, chbErrLines, speMaxHosts})
        control->SetEnabled(!down);
    if (down && chbClearLogs->Checked())
        BitBtnClearDataClick(Sender);
    if (down)
        Hide();
    run_.SetHost(cbHost->Text());
    run_.SetRepeating(down);
}

#ifdef ZV_TEST_HOOKS
// "kind|bytes|type|seq|trip|ttl|from|host": a reply as the echo client would
// deliver it, with the host box's text at that moment (the rest of the text).
bool TFormSetings::TakeTestReply(UINT message, WPARAM wParam)
{
    std::string text;
    if (!ZV_TEXT_ON_REQUEST(message, wParam, "ZentVorlumo.Test.Reply", text))
        return false;
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (int i = 0; i < 7; ++i) {
        std::size_t bar = text.find('|', start);
        fields.push_back(text.substr(start, bar - start));
        start = bar == std::string::npos ? text.size() : bar + 1;
    }
    auto number = [&](int i) { return static_cast<std::uint32_t>(std::stoul(fields[static_cast<std::size_t>(i)])); };
    TReplyStatus reply{static_cast<std::int32_t>(number(1)), fields[6], static_cast<std::uint8_t>(number(2)),
                       static_cast<std::uint16_t>(number(3)), number(4), static_cast<std::uint8_t>(number(5)),
                       static_cast<TReplyStatusKind>(number(0))};
    cbHost->SetText(text.substr(start));
    IdIcmpClientReply(nullptr, reply);
    return true;
}
#endif

