#include "app/uMain.h"

#include <algorithm>

#include "app/CompactItems.h"
#include "app/Mask2Data.h"
#include "chart/ResponseTimeChart.h"
#include "toolkit/LocaleText.h"
#include "toolkit/TestHooks.h"

TFormMain* FormMain = nullptr;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// The focus mark: the skin's yellow, edged in the dark of its cards.
constexpr COLORREF kMarkLine = RGB(0xFF, 0xD4, 0x00);
constexpr COLORREF kMarkEdge = RGB(0x0C, 0x14, 0x1B);
constexpr int kClientWidth = 475;
constexpr int kClientHeight = 265;

HCURSOR HandCursor()
{
    return tk::SystemCursor(IDC_HAND);
}

} // namespace

TFormMain::TFormMain(tk::Component* owner) : tk::Form(owner, "TFormMain", {kClientWidth, kClientHeight})
{
    ZV_FAIL_POINT("TFormMain");
    SetCenterOnFirstShow(true);

    CoolForm1 = new TCoolForm(this, this);
    CoolForm1->SetName("CoolForm1");

    lbHost = NewLabel("lbHost", {88, 57, 0, 13}, "No host chosen yet", nullptr);
    lbHost->SetAutoSize(true);
    lbHost->OnClick = [this](tk::Component* s) { Image1Click(s); };
    Image1 = NewImage("Image1", {118, 233, 57, 15});
    Image1->OnClick = [this](tk::Component* s) { Image1Click(s); };
    Image2 = NewImage("Image2", {40, 232, 57, 15});
    Image2->OnClick = [this](tk::Component* s) { Image2Click(s); };

    SpeedButton1 = new tk::SpeedButton(this, this, {442, 56, 18, 15});
    SpeedButton1->SetName("SpeedButton1");
    SpeedButton1->SetCursor(HandCursor());
    SpeedButton1->OnClick = [this](tk::Component* s) { SpeedButton1Click(s); };

    Image3 = NewImage("Image3", {91, 179, 150, 35});
    Image3->SetCenter(true);
    Image3->SetCursor(nullptr);

    Label6 = NewLabel("Label6", {320, 134, 137, 13}, "AVG Trip Time / Error", ScaledFont("MS Sans Serif", 8, true));
    Label6->OnClick = [this](tk::Component* s) { lbAVGClick(s); };
    lbAVG = NewLabel("lbAVG", {328, 151, 129, 13}, "0,00 [ms] / 0 [err]", ScaledFont("MS Sans Serif", 8));
    lbAVG->OnClick = [this](tk::Component* s) { lbAVGClick(s); };
    for (tk::Label* label : {Label6, lbAVG}) {
        label->SetAlignment(tk::Alignment::Center);
        label->SetTextColor(kWhite);
    }

    Image4 = NewImage("Image4", {296, 177, 158, 39});
    Image5 = NewImage("Image5", {296, 177, 158, 39});
    for (tk::Image* image : {Image4, Image5}) {
        image->SetTransparent(true);
        image->OnClick = [this](tk::Component* s) { StartStopClick(s); };
    }
    Image5->SetVisible(false);

    Chart1 = new TChartControl(this, this, {48, 77, 273, 100});
    Chart1->SetName("Chart1");
    BuildResponseTimeChart(Chart1->Chart());
    chartFeed_ = std::make_unique<TChartFeed>(Chart1->Chart());

    FiguresTip = new TFiguresTip(this, this);
    FiguresTip->AddTool(Chart1);
    FiguresTip->AddTool(Label6);
    FiguresTip->AddTool(lbAVG);
    LoadArtwork();
    DescribeItems();
    SetFocusMarkColors(kMarkLine, kMarkEdge);
    // The skin stays as drawn in high contrast; only the focus mark follows.
    SetKeepsOwnColors(true);
}

TFormMain::~TFormMain()
{
    trayIcon_.reset();
    if (run_) {
        run_->Unsubscribe(*this);
        run_->Unsubscribe(*chartFeed_);
    }
}

void TFormMain::Watch(TMonitorRun& run)
{
    run_ = &run;
    run.Subscribe(*chartFeed_);
    run.Subscribe(*this);
}

namespace {
// A timer's message comes only once nothing else waits, the first paint
// included, and the program has gone idle meanwhile.
constexpr UINT_PTR kTrayTimer = 0x7A01;
constexpr UINT kTrayDelayMs = 50;
} // namespace

void TFormMain::ShowTrayIcon(TRunFiguresFeed& figures, THistoryService& history)
{
    trayFigures_ = &figures;
    trayHistory_ = &history;
    SetTimer(Handle(), kTrayTimer, kTrayDelayMs, nullptr);
}

void TFormMain::AddTrayIcon()
{
    KillTimer(Handle(), kTrayTimer);
    if (trayFigures_ && !trayIcon_)
        trayIcon_ = std::make_unique<TTrayIcon>(Handle(), *run_, *trayFigures_, *console_, *trayHistory_);
    trayFigures_ = nullptr;
    trayHistory_ = nullptr;
}

void TFormMain::ShowFigures(const TRunFiguresFeed* figures)
{
    FiguresTip->SetFigures(figures);
}

void TFormMain::SetConsole(TConsoleAccess& console)
{
    console_ = &console;
}

void TFormMain::LoadArtwork()
{
    // Drawn at 96 dpi. The outline is scaled with the same edges as the
    // skin (ReadMask), so the shape still follows the picture.
    const tk::Scale scale = Scaling();
    CoolForm1->SetPicture(tk::LoadPictureResource("SKIN", scale, kSkinKeyColour));
    TByteStream mask(Mask2, sizeof Mask2);
    CoolForm1->ReadMask(mask);
    SpeedButton1->SetGlyph(tk::LoadPictureResource("CLOSE", scale, tk::kLowerLeftKey));
    Image3->SetPicture(tk::LoadPictureResource("NOTICE", scale));
    Image4->SetPicture(tk::LoadPictureResource("START", scale, tk::kLowerLeftKey));
    Image5->SetPicture(tk::LoadPictureResource("STOP", scale, tk::kLowerLeftKey));
}

void TFormMain::DescribeItems()
{
    std::vector<tk::GraphicControl*> order;
    for (const TCompactItem& item : kCompactItems) {
        const auto& all = Graphics().BackToFront();
        const auto found = std::find_if(all.begin(), all.end(), [&](auto* g) { return g->Name() == item.control; });
        if (found == all.end())
            continue;
        (*found)->SetAccessibleName(item.name);
        (*found)->SetShortcut(item.shortcut);
        (*found)->SetRole(item.role);
        (*found)->SetTabStop(item.tabStop);
        order.push_back(*found);
    }
    SetReadingOrder(std::move(order));
}

void TFormMain::OnDpiChanged()
{
    SetClientSize(kClientWidth, kClientHeight);
    LoadArtwork();
}

tk::Image* TFormMain::NewImage(const char* name, tk::Rect bounds)
{
    auto* image = new tk::Image(this, this, bounds);
    image->SetName(name);
    image->SetCursor(HandCursor());
    return image;
}

tk::Label* TFormMain::NewLabel(const char* name, tk::Rect bounds, const char* text, HFONT font)
{
    auto* label = new tk::Label(this, this, bounds, text);
    label->SetName(name);
    label->SetCursor(HandCursor());
    label->SetFont(font);
    return label;
}

void TFormMain::Image1Click(tk::Component*)
{
    console_->SelectPage(TConsolePage::Setings);
    if (console_->HostBoxEnabled())
        console_->FocusHostBox();
    console_->ShowConsole();
}

void TFormMain::Image2Click(tk::Component*)
{
    console_->SelectPage(TConsolePage::About);
    console_->ShowConsole();
}

void TFormMain::lbAVGClick(tk::Component*)
{
    console_->SelectPage(TConsolePage::PingInformation);
    console_->ShowConsole();
}

void TFormMain::StartStopClick(tk::Component* Sender)
{
    console_->SetRepeatDown(!console_->RepeatDown());
    console_->spbRepPingClick(Sender);
}

void TFormMain::SpeedButton1Click(tk::Component*)
{
    Close();
}

void TFormMain::SetStartStop(bool running)
{
    Image4->SetVisible(!running);
    Image5->SetVisible(running);
    // The focus stays on the picture's place.
    if (FocusedGraphic() == Image4 || FocusedGraphic() == Image5)
        FocusGraphic(running ? Image5 : Image4);
}

// START/STOP touches the chart above it: its mark follows the picture's own
// rounded edge rather than ring it, where the chart would cover a part.
tk::Form::FocusMarkShape TFormMain::FocusMarkOf(const tk::GraphicControl& control) const
{
    if (&control == Image4 || &control == Image5)
        return {control.Bounds(), Scaling()(20)};
    return tk::Form::FocusMarkOf(control);
}

bool TFormMain::ShortcutKey(unsigned vk)
{
    if (GetKeyState(VK_MENU) < 0)
        return false;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (control && vk == 'R') {
        StartStopClick(Image4->Visible() ? Image4 : Image5);
        return true;
    }
    if (!control && vk == VK_F1) {
        Image2Click(Image2);
        return true;
    }
    return false;
}

void TFormMain::HostChanged(const TMonitorRun& run)
{
    lbHost->SetText(run.Host());
}

void TFormMain::RepeatChanged(const TMonitorRun& run)
{
    SetStartStop(run.Repeating());
}

void TFormMain::StatisticsChanged(const TMonitorRun& run)
{
    const txt::NumberSeparators separators = tk::ReadLocaleSeparators();
    lbAVG->SetText(AverageTripTimeText(run, separators) + " [ms] / " +
                   txt::FormatNumber(static_cast<std::uint64_t>(run.ErrorRows()), 0, separators) + " [err]");
    lbAVG->Repaint();
    FiguresTip->Refresh();
}

LRESULT TFormMain::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (ZV_THROW_ON_REQUEST(message, wParam))
        return 0;
    if (message == WM_SIZE && CoolForm1)
        CoolForm1->AlignToParent();
    if (message == WM_TIMER && wParam == kTrayTimer) {
        AddTrayIcon();
        return 0;
    }
    if (trayIcon_ && OnTrayMessage(message, wParam, lParam))
        return 0;
    return tk::Form::WindowProc(message, wParam, lParam);
}

bool TFormMain::OnTrayMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (trayIcon_->HandleMessage(message, wParam, lParam))
        return true;
    switch (message) {
    case WM_CONTEXTMENU: {
        // On the skin only: the chart's right button scrolls it.
        if (reinterpret_cast<HWND>(wParam) != Handle())
            return false;
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lParam == -1) { // from the keyboard: at the window's top left
            at = {0, 0};
            ClientToScreen(Handle(), &at);
        }
        trayIcon_->ShowMenu(at);
        return true;
    }
    case WM_CLOSE:
        // Gone before the console is: its menu works the console.
        trayFigures_ = nullptr;
        trayIcon_.reset();
        return false;
    case WM_ENDSESSION:
        if (wParam)
            trayIcon_->Remove();
        return false;
    }
    return false;
}
