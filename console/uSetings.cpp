#include "console/uSetings.h"

// The console's controls, made in the order the window shows them (and so
// in Tab order), their places at any size and DPI, and the handlers of the
// host bar, the graph settings and OK. Members of TFormSetings; GUI thread
// only.
#include <algorithm>

#include "console/ConsoleDesign.h"
#include "toolkit/ModalGate.h"
#include "toolkit/TestHooks.h"

TFormSetings* FormSetings = nullptr;

using namespace console_design;

namespace {

// One DC like the screen's measures every label, rather than a new screen DC
// for each.
HDC MeasuringDC()
{
    static const tk::MemoryDC dc(CreateCompatibleDC(nullptr));
    return dc.Get();
}

// As labels of the window's design size themselves to their text, one that
// the font makes wider than its place grows: a right-aligned label to the
// left, a centred one both ways, any other to the right.
void FitLabel(tk::Label& label, HFONT font, tk::Alignment alignment)
{
    tk::SelectScope select(MeasuringDC(), font);
    SIZE size{};
    GetTextExtentPoint32A(MeasuringDC(), label.Text().c_str(), static_cast<int>(label.Text().size()), &size);
    tk::Rect b = label.Bounds();
    const int extra = size.cx - b.width;
    if (extra <= 0)
        return;
    if (alignment == tk::Alignment::Right)
        b.left = std::max(1, b.left - extra);
    else if (alignment == tk::Alignment::Center)
        b.left = std::max(1, b.left - extra / 2);
    b.width = size.cx;
    label.SetBounds(b);
}

} // namespace

// The client area is what scales; the frame is the system's at each DPI.
TFormSetings::TFormSetings(tk::Component* owner, TMonitorRun& run)
    : tk::Form(owner, "TFormSetings", {kClientWidth, DesignClientHeight()}), run_(run)
{
    ZV_FAIL_POINT("TFormSetings");
    SetCaption("Zent Vorlumo");
    SetCenterOnFirstShow(true);

    CreateHostBar();
    CreatePages();
    CreateStatisticsBar();
    const int statusTop = DesignClientHeight() - kStatusBarHeight;
    StatusBar1 = new tk::StatusBar(this, this, {0, statusTop, kClientWidth, kStatusBarHeight});
    StatusBar1->SetName("StatusBar1");
    SetDefaultButton(BitBtn2);
    SetCancelButton(BitBtn2);
    BitBtn2->SetDefault(true);

    Timer1 = new tk::Timer(this);
    Timer1->SetEnabled(false);
    CreatePingComponents();
    CreateListCommands();
    ZentVersion1 = new TZentVersion(this);

    RECT client{};
    GetClientRect(Handle(), &client);
    Realign(client.right, client.bottom);
    run_.Subscribe(*this);
    RegisterForSleep();
}

TFormSetings::~TFormSetings()
{
    UnregisterForSleep();
    run_.Unsubscribe(*this);
}

tk::Label* TFormSetings::AddLabel(tk::CustomControl* parent, const char* name, tk::Rect bounds,
                                  const std::string& caption, bool bold, tk::Alignment alignment)
{
    auto* label = new tk::Label(this, parent, {bounds.left, bounds.top, bounds.width, kLabelHeight}, caption);
    label->SetName(name);
    if (bold)
        label->SetFont(BoldFont());
    label->SetAlignment(alignment);
    fitted_.push_back(label);
    FitToText(*label);
    return label;
}

void TFormSetings::FitToText(tk::Label& label)
{
    FitLabel(label, label.Font() ? label.Font() : GetFont(), label.GetAlignment());
}

tk::SpinEdit* TFormSetings::AddSpinEdit(tk::WinControl* parent, const char* name, tk::Rect bounds, int minValue,
                                        int maxValue, int increment, int value)
{
    auto* field = new tk::SpinEdit(this, parent, {bounds.left, bounds.top, bounds.width, kFieldHeight}, minValue,
                                   maxValue, increment, value);
    field->SetName(name);
    return field;
}

tk::CheckBox* TFormSetings::AddCheckBox(tk::WinControl* parent, const char* name, tk::Rect bounds,
                                        const std::string& caption)
{
    auto* box = new tk::CheckBox(this, parent, {bounds.left, bounds.top, bounds.width, kCheckBoxHeight}, caption);
    box->SetName(name);
    return box;
}

void TFormSetings::CreateHostBar()
{
    Panel1 = new tk::Panel(this, this, {0, 0, kClientWidth, kHostBarHeight});
    Panel1->SetName("Panel1");
    Label1 = AddLabel(Panel1, "Label1", {5, 15, 85}, "Host adress:", true, tk::Alignment::Right);
    cbHost = new tk::ComboBox(this, Panel1, {96, 11, 337, 21});
    cbHost->SetName("cbHost");
    cbHost->SetText("192.168.1.1");
    cbHost->OnChange = [this](tk::Component* sender) { cbHostChange(sender); };
    spbRepPing = new tk::ToggleButton(this, Panel1, {435, 9, 113, 25}, "Start repeat Ping");
    spbRepPing->SetName("spbRepPing");
    spbRepPing->OnClick = [this](tk::Component* sender) { spbRepPingClick(sender); };
    BitBtnPing = new tk::Button(this, Panel1, {552, 9, 17, 25}, "...");
    BitBtnPing->SetName("BitBtnPing");
    SetWindowLongA(BitBtnPing->Handle(), GWL_STYLE, GetWindowLongA(BitBtnPing->Handle(), GWL_STYLE) & ~WS_TABSTOP);
}

void TFormSetings::CreatePages()
{
    PageControl1 = new tk::PageControl(this, this, {0, kHostBarHeight, kClientWidth, DesignPagesHeight()});
    PageControl1->SetName("PageControl1");

    TabSheet1 = new tk::TabSheet(this, PageControl1, "Ping information");
    TabSheet1->SetName("TabSheet1");
    ListView1 = CreateList(TabSheet1, "ListView1", TRunLog::Echoes);

    TabSheet2 = new tk::TabSheet(this, PageControl1, "Error logs");
    TabSheet2->SetName("TabSheet2");
    ListViewError = CreateList(TabSheet2, "ListViewError", TRunLog::Errors);

    TabSheet3 = new tk::TabSheet(this, PageControl1, "Setings");
    TabSheet3->SetName("TabSheet3");
    CreateSettingsPage();

    TabSheet4 = new tk::TabSheet(this, PageControl1, "About");
    TabSheet4->SetName("TabSheet4");
    CreateAboutPage();
    PageControl1->SetActivePageIndex(0);
}

// A list of the run's rows, with the columns the run defines for it.
tk::ListView* TFormSetings::CreateList(tk::TabSheet* sheet, const char* name, TRunLog log)
{
    auto* list = new tk::ListView(this, sheet, SheetArea(), true, tk::ListView::Selection::Rows);
    list->SetName(name);
    for (const TListColumn& column : ListColumns(log))
        list->AddColumn(column.Caption, column.Width,
                        column.Align == TColumnAlign::Center ? tk::Alignment::Center : tk::Alignment::Left);
    return list;
}

void TFormSetings::CreateSettingsPage()
{
    GroupBox1 = new tk::GroupBox(this, TabSheet3, {6, 4, 180, 221}, " Data and Logs ");
    GroupBox1->SetName("GroupBox1");
    Label5 = AddLabel(GroupBox1, "Label5", {36, 24, 101}, "Lines remember:", true, tk::Alignment::Center);
    speMaxLine = AddSpinEdit(GroupBox1, "speMaxLine", {35, 41, 102}, 10, 10000, 1, 100);
    chbErrLines = AddCheckBox(GroupBox1, "chbErrLines", {40, 72, 113}, "Linet for Errors");
    chbClearLogs = AddCheckBox(GroupBox1, "chbClearLogs", {40, 96, 121}, "Clear logs on start");
    chbIgnoreFirst = AddCheckBox(GroupBox1, "chbIgnoreFirst", {40, 120, 121}, "Ignore first ping");

    GroupBox2 = new tk::GroupBox(this, TabSheet3, {190, 4, 180, 221}, " Graph ");
    GroupBox2->SetName("GroupBox2");
    chb3D = AddCheckBox(GroupBox2, "chb3D", {48, 32, 97}, "3D Graph");
    chb3D->OnClick = [this](tk::Component* sender) { chb3DClick(sender); };
    Label17 = AddLabel(GroupBox2, "Label17", {10, 72, 157}, "Data Color:", true);
    DataColorBox = new tk::ColorBox(this, GroupBox2, {8, 88, 161, kFieldHeight});
    DataColorBox->SetName("DataColorBox");
    DataColorBox->OnChange = [this](tk::Component* sender) { DataColorBoxChange(sender); };
    Label8 = AddLabel(GroupBox2, "Label8", {10, 120, 157}, "AVG Color:", true);
    AVGColorBox = new tk::ColorBox(this, GroupBox2, {8, 136, 161, kFieldHeight});
    AVGColorBox->SetName("AVGColorBox");
    AVGColorBox->OnChange = [this](tk::Component* sender) { AVGColorBoxChange(sender); };

    GroupBox3 = new tk::GroupBox(this, TabSheet3, {374, 4, 180, 221}, " Ping and Hosts ");
    GroupBox3->SetName("GroupBox3");
    Label2 = AddLabel(GroupBox3, "Label2", {8, 22, 165}, "Receive timeout [ms]", true);
    speTimeout = AddSpinEdit(GroupBox3, "speTimeout", {7, 36, 167}, 100, 10000, 1, 1000);
    Label3 = AddLabel(GroupBox3, "Label3", {8, 72, 169}, "Time to repeat [ms]", true);
    speRepeat = AddSpinEdit(GroupBox3, "speRepeat", {7, 85, 167}, 1000, 100000, 1, 1000);
    Label15 = AddLabel(GroupBox3, "Label15", {8, 120, 161}, "Hosts remember:", true);
    speMaxHosts = AddSpinEdit(GroupBox3, "speMaxHosts", {8, 137, 166}, 5, 100, 1, 10);
    Label4 = AddLabel(GroupBox3, "Label4", {8, 168, 161}, "Buffer size:", true);
    speBuffer = AddSpinEdit(GroupBox3, "speBuffer", {6, 185, 166}, 1024, 102400, 1024, 8192);
}

void TFormSetings::CreateStatisticsBar()
{
    Panel2 = new tk::Panel(this, this, {0, kHostBarHeight + DesignPagesHeight(), kClientWidth, kStatisticsBarHeight});
    Panel2->SetName("Panel2");
    Label6 = AddLabel(Panel2, "Label6", {8, 8, 94}, "AVG Trip Time:", true, tk::Alignment::Right);
    lbAVG = AddLabel(Panel2, "lbAVG", {102, 8, 67}, "0,00 [ms]");
    Label7 = AddLabel(Panel2, "Label7", {168, 8, 70}, "Error count:", true, tk::Alignment::Right);
    lbErrorCount = AddLabel(Panel2, "lbErrorCount", {238, 8, 43}, "0", false, tk::Alignment::Center);
    BitBtnClearData = new tk::Button(this, Panel2, {288, 3, 90, 24}, "Clear Data");
    BitBtnClearData->SetName("BitBtnClearData");
    BitBtnClearData->OnClick = [this](tk::Component* sender) { BitBtnClearDataClick(sender); };
    BitBtn1 = new tk::Button(this, Panel2, {384, 3, 90, 24}, "Clear Error Logs");
    BitBtn1->SetName("BitBtn1");
    BitBtn2 = new tk::BitBtn(this, Panel2, {480, 3, 90, 24}, "OK");
    BitBtn2->SetName("BitBtn2");
    BitBtn2->OnClick = [this](tk::Component* sender) { BitBtn2Click(sender); };
}

// The windows that Realign places are made in their place already, so that
// at 96 dpi it moves none of them; at other DPIs it corrects the rounding.
int TFormSetings::DesignClientHeight()
{
    return kOuterHeight - SizeableFrameSize(tk::kDesignDpi).cy;
}

int TFormSetings::DesignPagesHeight() const
{
    return DesignClientHeight() - kHostBarHeight - kStatisticsBarHeight - kStatusBarHeight;
}

// A sheet's client area, in design units.
tk::Rect TFormSetings::SheetArea() const
{
    RECT page{};
    GetClientRect(TabSheet1->Handle(), &page);
    const int dpi = Scaling().Dpi();
    return {0, 0, MulDiv(page.right, tk::kDesignDpi, dpi), MulDiv(page.bottom, tk::kDesignDpi, dpi)};
}

void TFormSetings::Realign(int width, int height)
{
    if (!StatusBar1)
        return;
    const tk::Scale s = Scaling();
    const int hostBar = s(kHostBarHeight);
    const int statusBar = s(kStatusBarHeight);
    // The bottom bars' edges are scaled as one distance from the bottom.
    const int bottomBars = s(kStatisticsBarHeight + kStatusBarHeight);
    const int pagesHeight = height - hostBar - bottomBars;
    Panel1->SetBounds({0, 0, width, hostBar});
    PageControl1->SetBounds({0, hostBar, width, pagesHeight});
    Panel2->SetBounds({0, hostBar + pagesHeight, width, bottomBars - statusBar});
    StatusBar1->SetBounds({0, height - statusBar, width, statusBar});

    RECT page{};
    GetClientRect(TabSheet1->Handle(), &page);
    ListView1->SetBounds({0, 0, page.right, page.bottom});
    ListViewError->SetBounds({0, 0, page.right, page.bottom});
    const int aboutPanel = s(kAboutPanelHeight);
    const int pictureArea = page.bottom - aboutPanel;
    Panel4->SetBounds({0, pictureArea, page.right, aboutPanel});
    Shape2->SetBounds({0, 0, page.right, aboutPanel});
    Shape1->SetBounds({0, 0, page.right, pictureArea});
    Image1->SetBounds({0, 0, page.right, pictureArea});
}

void TFormSetings::OnGetMinMaxInfo(MINMAXINFO& info)
{
    const tk::Scale s = Scaling();
    // The host bar never gets narrower than its controls.
    const SIZE least = OuterSize(s(kClientWidth), s(kMinOuterHeight - FrameSize(tk::kDesignDpi).cy));
    info.ptMinTrackSize.x = least.cx;
    info.ptMinTrackSize.y = least.cy;
}

void TFormSetings::OnDpiChanged()
{
    LoadAboutPicture();
    for (tk::Label* label : fitted_)
        FitToText(*label);
    RECT client{};
    GetClientRect(Handle(), &client);
    Realign(client.right, client.bottom);
}

void TFormSetings::OnSize(int cx, int cy)
{
    tk::Form::OnSize(cx, cy);
    Realign(cx, cy);
}

LRESULT TFormSetings::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
#ifdef ZV_TEST_HOOKS
    if (TakeTestReply(message, wParam))
        return 0;
#endif
    switch (message) {
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case kOpenHeldMessage:
        tk::ModalGate::OpenHeld();
        return 0;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam);
        return TRUE;
    }
    return tk::Form::WindowProc(message, wParam, lParam);
}

void TFormSetings::SelectPage(TConsolePage page)
{
    switch (page) {
    case TConsolePage::PingInformation: PageControl1->SetActivePageIndex(0); break;
    case TConsolePage::Setings: PageControl1->SetActivePageIndex(2); break;
    case TConsolePage::About: PageControl1->SetActivePageIndex(3); break;
    }
}

bool TFormSetings::HostBoxEnabled() const
{
    return cbHost->Enabled();
}

void TFormSetings::FocusHostBox()
{
    // Focusing a control of a hidden window would activate it unseen.
    if (Visible())
        cbHost->SetFocus();
    else
        focusHostOnShow_ = true;
}

void TFormSetings::ShowConsole()
{
    Show();
    SetForegroundWindow(Handle());
    if (focusHostOnShow_) {
        focusHostOnShow_ = false;
        cbHost->SetFocus();
    }
}

void TFormSetings::BitBtn2Click(tk::Component* Sender)
{
    (void)Sender;
    Hide();
}

void TFormSetings::cbHostChange(tk::Component* Sender)
{
    (void)Sender;
    run_.SetHost(cbHost->Text());
}

void TFormSetings::chb3DClick(tk::Component* Sender)
{
    (void)Sender;
    run_.SetView3D(chb3D->Checked());
}

void TFormSetings::AVGColorBoxChange(tk::Component* Sender)
{
    (void)Sender;
    run_.SetAverageColor(AVGColorBox->Selected());
}

void TFormSetings::DataColorBoxChange(tk::Component* Sender)
{
    (void)Sender;
    run_.SetDataColor(DataColorBox->Selected());
}

void TFormSetings::FormCreate()
{
    ZV_FAIL_POINT("FormSetings.FormCreate");
    BitBtnClearDataClick(this);
    PageControl1->SetActivePageIndex(0);
    ShowAboutInfo();
    LoadSettings();
    LoadHostHistory();
}

void TFormSetings::FormDestroy()
{
    ZV_FAIL_POINT("FormSetings.FormDestroy");
    SaveOnce();
}

