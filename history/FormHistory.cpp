#include "history/FormHistory.h"


#include "history/HistoryCalendar.h"
#include "history/HistoryTexts.h"
#include "toolkit/Application.h"
#include "toolkit/SaveCsv.h"
#include "toolkit/WinFileSystem.h"

TFormHistory* FormHistory = nullptr;

namespace {

constexpr int kClientWidth = 760, kClientHeight = 560;
constexpr int kChartTop = 41, kChartHeight = 257;
constexpr int kBelowChart = kClientHeight - kChartTop - kChartHeight;
constexpr UINT kReadNextFile = WM_APP + 1;
// Files older than the bins can hold are not read.
constexpr std::int32_t kDaysRead = THistoryBins::MaxMinutes / 1440 + 1;

using std::chrono::hours;

TCivilTime DayOf(const SYSTEMTIME& t)
{
    return {t.wYear, t.wMonth, t.wDay, 0, 0, 0};
}

} // namespace

TFormHistory::TFormHistory(tk::Component* owner, THistorySource source)
    : tk::Form(owner, "TFormHistory", {kClientWidth, kClientHeight}), source_(std::move(source))
{
    SetCaption("History");
    CreateRangeBar();
    chHistory = new THistoryChart(this, this, {8, kChartTop, 744, kChartHeight}, *source_.Bins);
    chHistory->SetName("chHistory");
    chHistory->SetAccessibleName("Chart");
    lbFigures = new THistoryText(this, this, {8, 306, 744, 56});
    lbFigures->SetName("lbFigures");
    lvOutages = new THistoryOutageList(this, this, {8, 368, 744, 160});
    lvOutages->SetName("lvOutages");
    lvOutages->AddColumn("Start", 130);
    lvOutages->AddColumn("End", 130);
    lvOutages->AddColumn("Duration", 100, tk::Alignment::Right);
    lvOutages->AddColumn("Pings lost", 80, tk::Alignment::Right);
    lvOutages->AddColumn("Kinds", 280);
    lvOutages->OnDoubleClick = [this](int row) { CentreOnOutage(row); };
    pbReading = new THistoryProgress(this, this, {8, 536, 160, 16});
    lbStatus = new THistoryText(this, this, {176, 536, 576, 18});
    lbStatus->SetName("lbStatus");
    for (THistoryText* text : {lbFigures, lbStatus})
        text->SetFont(ScaledFont("Tahoma", 8));
    chHistory->SetFont(ScaledFont("Tahoma", 8));
    tipChart = new tk::ToolTip(this, this);
    tipChart->AddTool(this);
    tipChart->OnText = [this] { return TipText(); };
    tmLive = new tk::Timer(this);
    tmLive->SetOnTimer([this](tk::Component*) { Tick(); });
    ShowLast(hours(24));
}

void TFormHistory::CreateRangeBar()
{
    const std::pair<const char*, TDuration> widths[] = {
        {"Last hour", hours(1)}, {"6 hours", hours(6)}, {"24 hours", hours(24)}, {"7 days", hours(24 * 7)},
        {"30 days", hours(24 * 30)}};
    tk::Button** buttons[] = {&btnHour, &btn6Hours, &btn24Hours, &btn7Days, &btn30Days};
    const char* names[] = {"btnHour", "btn6Hours", "btn24Hours", "btn7Days", "btn30Days"};
    for (int i = 0; i < 5; ++i) {
        tk::Button* button = new tk::Button(this, this, {8 + 76 * i, 8, 72, 25}, widths[i].first);
        button->SetName(names[i]);
        const TDuration width = widths[i].second;
        button->OnClick = [this, width](tk::Component*) { ShowLast(width); };
        *buttons[i] = button;
    }
    dtpDay = new THistoryDatePicker(this, this, {392, 10, 104, 21});
    dtpDay->SetName("dtpDay");
    dtpDay->OnChange = [this](const SYSTEMTIME& day) { ShowDay(day); };
    cbLogarithmic = new tk::CheckBox(this, this, {504, 12, 96, 17}, "Logarithmic");
    cbLogarithmic->SetName("cbLogarithmic");
    cbLogarithmic->OnClick = [this](tk::Component*) { chHistory->SetLogarithmic(cbLogarithmic->Checked()); };
    btnSaveCsv = new tk::Button(this, this, {656, 8, 96, 25}, "");
    btnSaveCsv->SetName("btnSaveCsv");
    SetWindowTextW(btnSaveCsv->Handle(), L"Save as CSV\u2026");
    btnSaveCsv->OnClick = [this](tk::Component*) { SaveRangeAsCsv(); };
    for (tk::WinControl* control : std::initializer_list<tk::WinControl*>{btnHour, btn6Hours, btn24Hours, btn7Days,
                                                                          btn30Days, dtpDay, cbLogarithmic, btnSaveCsv})
        control->SetFont(ScaledFont("Tahoma", 8));
}

void TFormHistory::Open(const std::wstring& folder)
{
    Show();
    SetForegroundWindow(Handle());
    if (!read_ && !folder.empty()) {
        source_.Folder = folder;
        StartReading();
    }
    UpdateView();
}

void TFormHistory::SetRange(const THistoryRange& range, bool following)
{
    range_ = range;
    following_ = following;
    UpdateView();
}

void TFormHistory::ShowDay(const SYSTEMTIME& day)
{
    SetRange(HistoryDayRange(*source_.Bins, DayOf(day), source_.Now().Wall.OffsetMinutes), false);
}

void TFormHistory::UpdateView()
{
    const THistoryFigures figures = source_.Bins->Figures(range_.From, range_.To);
    outages_ = source_.Outages ? source_.Outages(range_.From, range_.To)
                               : HistoryOutagesOf(*source_.Bins, range_.From, range_.To);
    chHistory->Show(range_, HistoryAxisTopUs(figures), HistoryLogAxisBottomUs(figures), outages_);
    std::string text;
    for (const std::string& line : HistoryFigureLines(figures, HistoryOutageTotals(outages_, range_.From, range_.To)))
        text += (text.empty() ? "" : "\r\n") + line;
    lbFigures->SetText(text);
    UpdateOutages();
    tipChart->Refresh();
}

// Rebuilt only when a row changed, so the selection stays while nothing happens.
void TFormHistory::UpdateOutages()
{
    std::vector<std::vector<std::string>> cells;
    for (const THistoryOutage& outage : outages_)
        cells.push_back(HistoryOutageCells(outage));
    if (cells == outageCells_)
        return;
    outageCells_ = std::move(cells);
    lvOutages->Clear();
    for (const auto& row : outageCells_)
        lvOutages->AddRow(row);
}

void TFormHistory::Tick()
{
    if (!Visible())
        return;
    if (following_)
        range_ = range_.AtNow(source_.Now().Mono);
    UpdateView();
}

void TFormHistory::CentreOnOutage(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= outages_.size())
        return;
    const THistoryOutage& outage = outages_[static_cast<std::size_t>(row)];
    SetRange(range_.CentredOn(outage.From + outage.Length() / 2), false);
}

bool TFormHistory::ShortcutKey(unsigned vk)
{
    // The list and the calendar keep their own arrows and Home.
    const HWND focus = GetFocus();
    for (const tk::WinControl* own : {static_cast<tk::WinControl*>(lvOutages), static_cast<tk::WinControl*>(dtpDay)})
        if (focus == own->Handle() || IsChild(own->Handle(), focus))
            return false;
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
        SetRange(range_.Moved(vk == VK_LEFT ? -1 : 1), false);
        return true;
    case VK_ADD:
    case VK_OEM_PLUS:
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        SetRange(range_.Zoomed(vk == VK_ADD || vk == VK_OEM_PLUS ? 1 : -1), false);
        return true;
    case VK_HOME:
        SetRange(range_.AtNow(source_.Now().Mono), true);
        return true;
    default:
        return false;
    }
}

void TFormHistory::SaveRangeAsCsv()
{
    tk::SaveCsvAs(Handle(), tk::WideText(ExportFileName("history", source_.Now().Wall.Local())), exportFolder_,
                  [this](const tk::ByteSink& sink) { WriteHistoryRangeCsv(*source_.Bins, range_.From, range_.To, sink); });
}

void TFormHistory::OnSize(int cx, int cy)
{
    tk::Form::OnSize(cx, cy);
    Realign(cx, cy);
}

void TFormHistory::OnDpiChanged()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    Realign(client.right, client.bottom);
}

// The chart takes what the window gains; the parts below it keep their
// heights and follow the bottom edge.
void TFormHistory::Realign(int width, int height)
{
    if (!lbStatus)
        return;
    const tk::Scale s = Scaling();
    const int margin = s(8), below = s(kBelowChart), top = s(kChartTop);
    const int inner = std::max(0, width - 2 * margin);
    const int chartHeight = std::max(s(60), height - top - below);
    chHistory->SetBounds({margin, top, inner, chartHeight});
    const int shift = top + chartHeight - s(kChartTop + kChartHeight);
    const auto follow = [&](tk::Rect design, int w) {
        const tk::Rect r = s(design);
        return tk::Rect{r.left, r.top + shift, w, r.height};
    };
    lbFigures->SetBounds(follow({8, 306, 744, 56}, inner));
    lvOutages->SetBounds(follow({8, 368, 744, 160}, inner));
    pbReading->SetBounds(follow({8, 536, 160, 16}, s(160)));
    lbStatus->SetBounds(follow({176, 536, 576, 18}, std::max(0, width - s(176) - margin)));
    UpdateView();
}

void TFormHistory::OnMouseMove(tk::Point p, unsigned keys)
{
    tk::Form::OnMouseMove(p, keys);
    mouse_ = p;
    const THistoryColumn* column = chHistory->ColumnAt(p);
    if (column != tipColumn_) {
        tipColumn_ = column;
        tipChart->Refresh();
    }
}

std::string TFormHistory::TipText() const
{
    const THistoryColumn* column = chHistory->ColumnAt(mouse_);
    return column ? HistoryColumnTip(*source_.Bins, *column) : std::string();
}

void TFormHistory::StartReading()
{
    read_ = true;
    files_ = HistoryDayFiles(source_.Folder);
    const std::int32_t today = DaysSince1970(source_.RunStart.Wall.Local());
    std::erase_if(files_, [&](const THistoryDayFile& f) { return today - DaysSince1970(f.Day) > kDaysRead; });
    if (files_.empty())
        return;
    backfill_ = std::make_unique<THistoryBackfill>(*source_.Bins, source_.RunStart);
    backfill_->SetReplay(source_.Replay);
    pbReading->SetRange(static_cast<int>(files_.size()));
    pbReading->SetPosition(0);
    pbReading->SetVisible(true);
    lbStatus->SetText("Reading history\xE2\x80\xA6");
    PostMessageA(Handle(), kReadNextFile, 0, 0);
}

// One file a message: the window stays live, and paints its progress, meanwhile.
void TFormHistory::ReadNextFile()
{
    if (nextFile_ < files_.size()) {
        const THistoryDayFile& file = files_[nextFile_++];
        std::uint64_t skipped = 0;
        backfill_->BeginFile();
        ReadHistoryPieces(source_.Folder + file.Name,
                          [&](std::string_view lines) { skipped += backfill_->Read(lines).Skipped; });
        if (skipped)
            skipped_.push_back(HistorySkippedText(skipped, tk::Utf8FromWide(file.Name)));
        pbReading->SetPosition(static_cast<int>(nextFile_));
    }
    if (nextFile_ < files_.size()) {
        PostMessageA(Handle(), kReadNextFile, 0, 0);
        return;
    }
    backfill_.reset();
    pbReading->SetVisible(false);
    std::string status;
    for (const std::string& line : skipped_)
        status += (status.empty() ? "" : "; ") + line;
    lbStatus->SetText(status);
    UpdateView();
}

LRESULT TFormHistory::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kReadNextFile) {
        ReadNextFile();
        return 0;
    }
    return tk::Form::WindowProc(message, wParam, lParam);
}

void ShowHistoryWindow(const THistorySource& source)
{
    if (!FormHistory)
        tk::TheApplication->CreateForm(FormHistory, source);
    FormHistory->Open(source.Folder);
}
