// The console's ping control and its two logs: single and repeat pings, the
// replies handed to the monitoring run, the two lists as its views, and the
// statistics. Members of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include <windows.h>

#include <exception>

#include "console/HostHistory.h"
#include "console/ReplyText.h"
#include "toolkit/Application.h"
#include "toolkit/Guarded.h"
#include "toolkit/LocaleText.h"

TMoment LocalNow()
{
    // Both from one reading of the clock, so the offset is the one in force then.
    FILETIME utc, local;
    GetSystemTimeAsFileTime(&utc);
    FileTimeToLocalFileTime(&utc, &local);
    auto ticks = [](const FILETIME& f) { return static_cast<std::int64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime; };
    SYSTEMTIME t;
    FileTimeToSystemTime(&local, &t);
    return {{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond},
            static_cast<int>((ticks(local) - ticks(utc)) / 600000000)};
}

void TFormSetings::CreatePingComponents()
{
    IdIcmpClient = new TIdIcmpClient(this);
    IdIcmpClient->SetOnReply([this](tk::Component* s, const TReplyStatus& r) { IdIcmpClientReply(s, r); });
    IdAntiFreeze1 = new TIdAntiFreeze(this);
    BitBtnPing->OnClick = [this](tk::Component* s) { BitBtnPingClick(s); };
    BitBtn1->OnClick = [this](tk::Component* s) { BitBtn1Click(s); };
    Timer1->SetOnTimer([this](tk::Component* s) { RunTimerTick(s); });
    // The lists show the log's rows: 10001 rows of each cost a few
    // hundred kilobytes there, against several megabytes as list items.
    ListView1->SetCellSource([this](int row, int column) {
        return row < run_.EchoRows() ? EchoCell(run_.Echo(row), column) : std::string();
    });
    ListViewError->SetCellSource([this](int row, int column) {
        return row < run_.ErrorRows() ? ErrorCell(run_.Error(row), column) : std::string();
    });
    figuresTip_ = new TFiguresTip(this, this);
    for (tk::Label* figure : {Label6, lbAVG, Label7, lbErrorCount})
        figuresTip_->AddTool(figure);
}

void TFormSetings::ShowFigures(TRunFiguresFeed* figures)
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
        TRunFiguresFeed* figures;
        int failing = std::uncaught_exceptions();
        ~Waiting()
        {
            flag = false;
            // A ping that raised an error sent nothing: it counts apart.
            if (figures && std::uncaught_exceptions() > failing)
                figures->AddNotSent();
        }
    } waiting{pinging_, figures_};
    IdIcmpClient->Ping(std::string(), 0);
}

void TFormSetings::Timer1Timer(tk::Component* Sender)
{
    Timer1->SetEnabled(false);
    // On every way out. A failed tick leaves the timer off: RunTimerTick
    // re-arms it once the error box has been closed.
    struct Restore {
        TFormSetings& form;
        int failing = std::uncaught_exceptions();
        ~Restore()
        {
            tk::TheApplication->SetScreenCursor(nullptr);
            if (std::uncaught_exceptions() == failing)
                form.Timer1->SetEnabled(form.spbRepPing->Down());
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
    (void)ASender;
    if (AReplyStatus.Kind == rsEcho)
        AddEchoReply(AReplyStatus);
    else
        AddErrorReply(AReplyStatus);
}

void TFormSetings::AddEchoReply(TReplyStatus AReplyStatus)
{
    // The run counts the reply and drops or lists it. Its views follow a
    // listed one: the oldest row and chart point out when the list is over
    // the limit, the new row and point in, the average recomputed.
    const TRowChange change = run_.AddEcho(AReplyStatus, speMaxLine->ClampedValue(), chbIgnoreFirst->Checked());
    if (change.Added)
        UpdateStatistics();
}

void TFormSetings::AddErrorReply(TReplyStatus AReplyStatus)
{
    const TMoment now = run_.Moment();
    run_.AddError({AReplyStatus, cbHost->Text(), DateTimeText(now.Local, tk::ReadLocaleTimeSeparator()), now},
                  speMaxLine->ClampedValue(), chbErrLines->Checked());
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
void TFormSetings::EchoAdded(const TMonitorRun& run, const TEchoChange&)
{
    ListView1->SetRowCountAddedAtTop(1, run.EchoRows());
}

void TFormSetings::ErrorAdded(const TMonitorRun& run, const TRowChange&)
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
