// The console's ping control and its two logs: single and repeat pings, the
// reply list, the error log, the echo counter, the chart feed and the
// statistics on both windows. Members of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include <windows.h>

#include <exception>

#include "app/uMain.h"
#include "chart/ChartSeries.h"
#include "chart/LocaleSeparators.h"
#include "chart/TeeFunction.h"
#include "console/HostHistory.h"
#include "console/NumberText.h"
#include "console/ReplyText.h"
#include "console/RunTipText.h"
#include "toolkit/Application.h"
#include "toolkit/Guarded.h"

namespace {

std::string LocaleTimeSeparator()
{
    char buf[8] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, buf, sizeof buf) > 0 ? buf : ":";
}

TLocalTime LocalNow()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

TLocalMs LocalMsNow()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    const auto since1601 = (static_cast<std::int64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 10000;
    return since1601 - 11644473600000LL;
}

// The locale's texts come in the ANSI code page; the tip's text is UTF-8.
std::string Utf8(const std::string& ansi)
{
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), static_cast<int>(wide.size()))));
    std::string out(wide.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                            out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
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
    // The lists show the log's rows: 10001 rows of each cost a few
    // hundred kilobytes there, against several megabytes as list items.
    ListView1->SetCellSource([this](int row, int column) {
        return row < replyLog_.EchoRows() ? EchoCell(replyLog_.Echo(row), column) : std::string();
    });
    ListViewError->SetCellSource([this](int row, int column) {
        return row < replyLog_.ErrorRows() ? ErrorCell(replyLog_.Error(row), column) : std::string();
    });
    figuresTip_ = new tk::ToolTip(this, this);
    for (tk::Label* figure : {Label6, lbAVG, Label7, lbErrorCount})
        figuresTip_->AddTool(figure);
    figuresTip_->OnText = [this] { return FiguresTipText(); };
}

void TFormSetings::BitBtnPingClick(tk::Component* Sender)
{
    (void)Sender;
    // Input is handled while a ping waits: a second click then is ignored,
    // so the client never serves two pings at once.
    if (pinging_)
        return;
    const std::string host(console::TrimControls(cbHost->Text()));
    if (host.empty())
        return;
    AddHostToHistory(host);
    IdIcmpClient->SetReceiveTimeout(speTimeout->Value());
    IdIcmpClient->SetHost(cbHost->Text());
    IdIcmpClient->SetBufferSize(speBuffer->Value());
    pinging_ = true;
    struct Waiting {
        bool& flag;
        TRunFigures& figures;
        int failing = std::uncaught_exceptions();
        ~Waiting()
        {
            flag = false;
            // A ping that raised an error sent nothing: it counts apart.
            if (std::uncaught_exceptions() > failing)
                figures.AddNotSent();
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
    tk::TheApplication->SetScreenCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
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
    // The log removes the oldest row when the list is over the limit and
    // puts the new one at the top; the list shows its rows.
    const TRowChange change =
        replyLog_.AddEcho(FEchoCount, AReplyStatus, speMaxLine->Value(), chbIgnoreFirst->Checked());
    if (!change.Added)
        return;
    if (figuresOn_)
        figures_.AddEcho(AReplyStatus.TripTime, LocalMsNow());
    TChartSeries& data = *FormMain->Chart1->Series(0);
    if (change.RemovedOldest)
        data.RemovePoint(0);
    ListView1->SetRowCount(replyLog_.EchoRows());
    data.InsertPoint(FEchoCount, static_cast<double>(AReplyStatus.TripTime));
    FormMain->Chart1->Series(1)->FunctionType()->Recompute();
    UpdateStatistics();
}

void TFormSetings::AddErrorReply(TReplyStatus AReplyStatus)
{
    replyLog_.AddError({AReplyStatus, cbHost->Text(), DateTimeText(LocalNow(), LocaleTimeSeparator())},
                       speMaxLine->Value(), chbErrLines->Checked());
    ListViewError->SetRowCount(replyLog_.ErrorRows());
    if (figuresOn_) {
        figures_.AddReply(AReplyStatus, false, LocalMsNow());
        FormMain->Chart1->Chart().AddFailureMark();
    }
    UpdateStatistics();
}

double TFormSetings::GetAvgTripTime()
{
    return replyLog_.AverageTripTime();
}

void TFormSetings::UpdateStatistics()
{
    tk::TheApplication->ProcessMessages();
    const TNumberSeparators separators = ReadLocaleSeparators();
    const int errors = ListViewError->RowCount();
    // From the exact sum and count, so that a half rounds up on the value a
    // person would work out; GetAvgTripTime gives the same mean as a double.
    const std::string average = FormatQuotient(replyLog_.TripTimeSum(), replyLog_.EchoRows(), 2, separators);
    lbErrorCount->SetText(std::to_string(errors));
    lbAVG->SetText(average + " [ms]");
    FormMain->lbAVG->SetText(average + " [ms] / " + FormatNumber(errors, 0, separators) + " [err]");
    FormMain->lbAVG->Repaint();
    if (figuresOn_) {
        figuresTip_->Refresh();
        FormMain->FiguresTip->Refresh();
    }
    tk::TheApplication->ProcessMessages();
}

void TFormSetings::BitBtnClearDataClick(tk::Component* Sender)
{
    (void)Sender;
    ListView1->Clear();
    replyLog_.ClearEchoes();
    FormMain->Chart1->Series(0)->ClearPoints();
    FEchoCount = 0;
    figures_.Start(LocalMsNow());
    UpdateStatistics();
}

std::string TFormSetings::FiguresTipText() const
{
    const TNumberSeparators locale = ReadLocaleSeparators();
    const TTipFormat format{{Utf8(locale.Decimal), Utf8(locale.Thousand)}, Utf8(LocaleTimeSeparator())};
    return RunTipText(figures_, LocalMsNow(), format);
}

void TFormSetings::BitBtn1Click(tk::Component* Sender)
{
    (void)Sender;
    ListViewError->Clear();
    replyLog_.ClearErrors();
    UpdateStatistics();
}
