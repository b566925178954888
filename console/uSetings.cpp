#include "console/uSetings.h"

#include <shellapi.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "console/HostHistory.h"
#include "console/LocalAddress.h"
#include "console/SettingsRules.h"
#include "toolkit/Application.h"
#include "toolkit/TestHooks.h"

TFormSetings* FormSetings = nullptr;

namespace {

constexpr int kClientWidth = 574;
constexpr int kOuterHeight = 403;
constexpr int kMinOuterHeight = 400;
constexpr int kHostBarHeight = 41;
constexpr int kStatisticsBarHeight = 33;
constexpr int kStatusBarHeight = 19;
constexpr int kAboutPanelHeight = 80;
constexpr int kLabelHeight = 13;
constexpr int kCheckBoxHeight = 17;
constexpr int kFieldHeight = 22;
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr const char* kAuthorWebsite = "https://example.com/";
constexpr const char* kProgramWebsite = "https://example.com/zent-vorlumo/";
constexpr const char* kSocketLibraryWebsite = "https://example.com/idny/";

// As labels of the window's design size themselves to their text, one that
// the font makes wider than its place grows: a right-aligned label to the
// left, a centred one both ways, any other to the right.
// One DC like the screen's measures every label, rather than a new screen DC
// for each.
HDC MeasuringDC()
{
    static const tk::MemoryDC dc(CreateCompatibleDC(nullptr));
    return dc.Get();
}

void FitToText(tk::Label& label, HFONT font, tk::Alignment alignment)
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

// The folder of the running executable, ending in a separator.
std::string ExeFolder()
{
    std::string path = tk::ModulePath();
    return path.substr(0, path.find_last_of("\\/:") + 1);
}

std::string SettingsPath()
{
    return ExeFolder() + kSettingsFileName;
}

std::string HostPath()
{
    return ExeFolder() + kHostFileName;
}

std::int32_t ReadSetting(const std::string& path, SettingId id)
{
    const SettingKey& key = SettingKeyOf(id);
    char value[256] = "";
    DWORD length = GetPrivateProfileStringA(key.section, key.key, "", value, sizeof value, path.c_str());
    return ReadSettingValue(key, std::string_view(value, length));
}

std::string ReadWholeFile(const std::string& path)
{
    tk::KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        throw std::runtime_error("Cannot open file " + path);
    }
    std::string text;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    return text;
}

void WriteWholeFile(const std::string& path, const std::string& text)
{
    tk::KernelHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        throw std::runtime_error("Cannot create file " + path);
    }
    DWORD written = 0;
    if (!text.empty() &&
        (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
         written != text.size()))
        throw std::runtime_error("Stream write error");
}
} // namespace

TFormSetings::TFormSetings(tk::Component* owner, TMonitorRun& run)
    : tk::Form(owner, "TFormSetings"), run_(run), boldFont_(tk::CreateFontPt("MS Sans Serif", 8, true)),
      linkFont_(tk::CreateFontPt("MS Sans Serif", 8)), linkHoverFont_(tk::CreateFontPt("MS Sans Serif", 8, false, true))
{
    ZV_FAIL_POINT("TFormSetings");
    SetCaption("Zent Vorlumo");
    RECT frame{0, 0, kClientWidth, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)));
    SetBounds({0, 0, frame.right - frame.left, kOuterHeight});
    SetCenterOnFirstShow(true);

    CreateHostBar();
    CreatePages();
    CreateStatisticsBar();
    StatusBar1 = new tk::StatusBar(this, this, {0, 0, kClientWidth, kStatusBarHeight});
    StatusBar1->SetName("StatusBar1");
    SetDefaultButton(BitBtn2);
    BitBtn2->SetDefault(true);

    Timer1 = new tk::Timer(this);
    Timer1->SetEnabled(false);
    CreatePingComponents();
    ZentVersion1 = new TZentVersion(this);

    RECT client{};
    GetClientRect(Handle(), &client);
    Realign(client.right, client.bottom);
    run_.Subscribe(*this);
}

TFormSetings::~TFormSetings()
{
    run_.Unsubscribe(*this);
}

tk::Label* TFormSetings::AddLabel(tk::CustomControl* parent, const char* name, tk::Rect bounds,
                                  const std::string& caption, bool bold, tk::Alignment alignment)
{
    auto* label = new tk::Label(this, parent, {bounds.left, bounds.top, bounds.width, kLabelHeight}, caption);
    label->SetName(name);
    if (bold)
        label->SetFont(boldFont_.Get());
    label->SetAlignment(alignment);
    FitToText(*label, bold ? boldFont_.Get() : GetFont(), alignment);
    return label;
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
    PageControl1 = new tk::PageControl(this, this, {0, kHostBarHeight, kClientWidth, 280});
    PageControl1->SetName("PageControl1");

    TabSheet1 = new tk::TabSheet(this, PageControl1, "Ping information");
    TabSheet1->SetName("TabSheet1");
    ListView1 = new tk::ListView(this, TabSheet1, {0, 0, 100, 100}, true);
    ListView1->SetName("ListView1");
    ListView1->AddColumn("Adress From", 100);
    ListView1->AddColumn("Bytes", 40, tk::Alignment::Center);
    ListView1->AddColumn("Type", 40, tk::Alignment::Center);
    ListView1->AddColumn("Seq.ID", 80, tk::Alignment::Center);
    ListView1->AddColumn("Trip time [ms]", 100, tk::Alignment::Center);
    ListView1->AddColumn("Time to Live", 100, tk::Alignment::Center);

    TabSheet2 = new tk::TabSheet(this, PageControl1, "Error logs");
    TabSheet2->SetName("TabSheet2");
    ListViewError = new tk::ListView(this, TabSheet2, {0, 0, 100, 100}, true);
    ListViewError->SetName("ListViewError");
    ListViewError->AddColumn("Adress", 100);
    ListViewError->AddColumn("Bytes", 40, tk::Alignment::Center);
    ListViewError->AddColumn("Type", 40, tk::Alignment::Center);
    ListViewError->AddColumn("Seq.ID", 60, tk::Alignment::Center);
    ListViewError->AddColumn("Trip time [ms]", 80, tk::Alignment::Center);
    ListViewError->AddColumn("Date/Time", 130, tk::Alignment::Center);
    ListViewError->AddColumn("Status", 100, tk::Alignment::Center);

    TabSheet3 = new tk::TabSheet(this, PageControl1, "Setings");
    TabSheet3->SetName("TabSheet3");
    CreateSettingsPage();

    TabSheet4 = new tk::TabSheet(this, PageControl1, "About");
    TabSheet4->SetName("TabSheet4");
    CreateAboutPage();
    PageControl1->SetActivePageIndex(0);
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

void TFormSetings::CreateAboutPage()
{
    Shape1 = new tk::Shape(this, TabSheet4, {0, 0, 100, 100});
    Shape1->SetName("Shape1");
    Image1 = new tk::Image(this, TabSheet4, {0, 0, 100, 100});
    Image1->SetName("Image1");
    Image1->SetCenter(true);
    // A plain 24-bit bitmap of 425 x 160, shown unscaled.
    Image1->SetPicture(tk::Bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "ABOUT", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))));
    Panel4 = new tk::Panel(this, TabSheet4, {0, 0, 100, kAboutPanelHeight}, false);
    Panel4->SetName("Panel4");
    Panel4->SetColor(kWhite);
    Shape2 = new tk::Shape(this, Panel4, {0, 0, 100, kAboutPanelHeight});
    Shape2->SetName("Shape2");
    CreateAboutPanel();
}

void TFormSetings::CreateAboutPanel()
{
    auto heading = [this](const char* name, tk::Rect bounds, const char* caption) {
        tk::Label* label = AddLabel(Panel4, name, bounds, caption, true, tk::Alignment::Right);
        label->SetBackground(kWhite);
        return label;
    };
    Label9 = heading("Label9", {8, 8, 100}, "Author website:");
    Label10 = AddLink("Label10", 8, "example.com - Tools");
    Label10->OnClick = [this](tk::Component* sender) { Label10Click(sender); };
    Label12 = heading("Label12", {8, 24, 100}, "Program website:");
    Label11 = AddLink("Label11", 24, "example.com - Zent Vorlumo");
    Label11->OnClick = [this](tk::Component* sender) { Label11Click(sender); };
    Label16 = heading("Label16", {8, 40, 100}, "Program version:");
    lbVersion = heading("lbVersion", {115, 40, 120}, "1.0.1.4");
    lbVersion->SetAlignment(tk::Alignment::Left);
    Label18 = heading("Label18", {8, 56, 100}, "Use components:");
    Label19 = AddLink("Label19", 56, "The Idny project ");
    Label19->OnClick = [this](tk::Component* sender) { Label19Click(sender); };
    Label20 = heading("Label20", {336, 8, 100}, "Your IP adress:");
    lbIPAdress = heading("lbIPAdress", {443, 8, 120}, "");
    lbIPAdress->SetAlignment(tk::Alignment::Left);
}

tk::LinkLabel* TFormSetings::AddLink(const char* name, int top, const std::string& caption)
{
    auto* link = new tk::LinkLabel(this, Panel4, {115, top, 0, kLabelHeight}, caption);
    link->SetName(name);
    link->SetFont(linkFont_.Get());
    link->SetBackground(kWhite);
    link->SetAutoSize(true);
    link->OnMouseEnter = [this](tk::Component* sender) { Label10MouseEnter(sender); };
    link->OnMouseLeave = [this](tk::Component* sender) { Label10MouseLeave(sender); };
    return link;
}

void TFormSetings::CreateStatisticsBar()
{
    Panel2 = new tk::Panel(this, this, {0, 0, kClientWidth, kStatisticsBarHeight});
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

void TFormSetings::Realign(int width, int height)
{
    if (!StatusBar1)
        return;
    const int pagesHeight = height - kHostBarHeight - kStatisticsBarHeight - kStatusBarHeight;
    Panel1->SetBounds({0, 0, width, kHostBarHeight});
    PageControl1->SetBounds({0, kHostBarHeight, width, pagesHeight});
    Panel2->SetBounds({0, kHostBarHeight + pagesHeight, width, kStatisticsBarHeight});
    StatusBar1->SetBounds({0, height - kStatusBarHeight, width, kStatusBarHeight});

    RECT page{};
    GetClientRect(TabSheet1->Handle(), &page);
    ListView1->SetBounds({0, 0, page.right, page.bottom});
    ListViewError->SetBounds({0, 0, page.right, page.bottom});
    const int pictureArea = page.bottom - kAboutPanelHeight;
    Panel4->SetBounds({0, pictureArea, page.right, kAboutPanelHeight});
    Shape2->SetBounds({0, 0, page.right, kAboutPanelHeight});
    Shape1->SetBounds({0, 0, page.right, pictureArea});
    Image1->SetBounds({0, 0, page.right, pictureArea});
}

void TFormSetings::OnGetMinMaxInfo(MINMAXINFO& info)
{
    RECT frame{0, 0, kClientWidth, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)));
    // The host bar never gets narrower than its controls.
    info.ptMinTrackSize.x = frame.right - frame.left;
    info.ptMinTrackSize.y = kMinOuterHeight;
}

void TFormSetings::OnSize(int cx, int cy)
{
    tk::Form::OnSize(cx, cy);
    Realign(cx, cy);
}

LRESULT TFormSetings::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
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
    spbRepPing->SetText(down ? "End repeat Ping" : "Start repeat Ping");
    Timer1->SetInterval(static_cast<unsigned>(speRepeat->Value()));
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

void TFormSetings::Label10MouseEnter(tk::Component* Sender)
{
    static_cast<tk::LinkLabel*>(Sender)->SetFont(linkHoverFont_.Get());
}

void TFormSetings::Label10MouseLeave(tk::Component* Sender)
{
    static_cast<tk::LinkLabel*>(Sender)->SetFont(linkFont_.Get());
}

void TFormSetings::OpenLink(const char* address)
{
    ShellExecuteA(Handle(), "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void TFormSetings::Label10Click(tk::Component* Sender)
{
    (void)Sender;
    OpenLink(kAuthorWebsite);
}

void TFormSetings::Label11Click(tk::Component* Sender)
{
    (void)Sender;
    OpenLink(kProgramWebsite);
}

void TFormSetings::Label19Click(tk::Component* Sender)
{
    (void)Sender;
    OpenLink(kSocketLibraryWebsite);
}

void TFormSetings::ShowAboutInfo()
{
    ZentVersion1->SetFileName(tk::ModulePath());
    lbVersion->SetText(ZentVersion1->VersionString());
    lbIPAdress->SetText(GetLocalIPAddress());
}

std::string TFormSetings::GetLocalIPAddress()
{
    return LocalIPv4Address();
}

void TFormSetings::LoadSettings()
{
    const std::string path = SettingsPath();
    speMaxLine->SetValue(ReadSetting(path, SettingId::MaxLines));
    chbErrLines->SetChecked(ReadSetting(path, SettingId::LinesErrors));
    chbClearLogs->SetChecked(ReadSetting(path, SettingId::AutoClearLogs));
    chbIgnoreFirst->SetChecked(ReadSetting(path, SettingId::IgnoreFirst));
    // The handlers run even when a state did not change, so the chart follows.
    chb3D->SetChecked(ReadSetting(path, SettingId::Graph3D));
    chb3DClick(chb3D);
    AVGColorBox->SetSelected(static_cast<std::uint32_t>(ReadSetting(path, SettingId::AVGColor)));
    AVGColorBoxChange(AVGColorBox);
    DataColorBox->SetSelected(static_cast<std::uint32_t>(ReadSetting(path, SettingId::DataColor)));
    DataColorBoxChange(DataColorBox);
    speTimeout->SetValue(ReadSetting(path, SettingId::TimeOut));
    speRepeat->SetValue(ReadSetting(path, SettingId::Repeat));
    speMaxHosts->SetValue(ReadSetting(path, SettingId::MaxHosts));
    speBuffer->SetValue(ReadSetting(path, SettingId::Buffer));
}

void TFormSetings::SaveSettings()
{
    const std::string path = SettingsPath();
    for (const SettingKey& key : SettingKeys()) {
        std::int32_t value = 0;
        switch (key.id) {
        case SettingId::MaxLines: value = speMaxLine->Value(); break;
        case SettingId::LinesErrors: value = chbErrLines->Checked(); break;
        case SettingId::AutoClearLogs: value = chbClearLogs->Checked(); break;
        case SettingId::IgnoreFirst: value = chbIgnoreFirst->Checked(); break;
        case SettingId::Graph3D: value = chb3D->Checked(); break;
        case SettingId::AVGColor: value = static_cast<std::int32_t>(AVGColorBox->Selected()); break;
        case SettingId::DataColor: value = static_cast<std::int32_t>(DataColorBox->Selected()); break;
        case SettingId::Repeat: value = speRepeat->Value(); break;
        case SettingId::TimeOut: value = speTimeout->Value(); break;
        case SettingId::MaxHosts: value = speMaxHosts->Value(); break;
        case SettingId::Buffer: value = speBuffer->Value(); break;
        }
        std::string text = FormatSettingValue(key, value);
        if (!WritePrivateProfileStringA(key.section, key.key, text.c_str(), path.c_str()))
            throw std::runtime_error("Unable to write to " + path);
    }
}

void TFormSetings::LoadHostHistory()
{
    const std::string path = HostPath();
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    std::vector<std::string> hosts = SplitHostLines(ReadWholeFile(path));
    cbHost->SetItems(hosts);
    if (!hosts.empty())
        cbHost->SetItemIndex(0);
    run_.SetHost(hosts.empty() ? std::string() : hosts.front());
}

void TFormSetings::SaveHostHistory()
{
    WriteWholeFile(HostPath(), JoinHostLines(cbHost->Items()));
}

void TFormSetings::AddHostToHistory(const std::string& host)
{
    std::vector<std::string> hosts = cbHost->Items();
    HostChange change = AddHost(hosts, host, speMaxHosts->Value());
    using Kind = HostChange::Kind;
    if (change.kind == Kind::Moved)
        cbHost->DeleteItem(change.removedAt);
    if (change.kind == Kind::Moved || change.kind == Kind::Inserted)
        cbHost->InsertItem(0, hosts.front());
    if (change.kind == Kind::Moved)
        cbHost->SetItemIndex(0);
    if (change.removedLast)
        cbHost->DeleteItem(static_cast<int>(cbHost->Items().size()) - 1);
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

void TFormSetings::OnEndSession(bool ending)
{
    // Windows ends the process after this message without destroying the
    // windows, so this is the last chance to save.
    if (ending)
        SaveOnce();
}

void TFormSetings::SaveOnce()
{
    if (saved_)
        return;
    saved_ = true;
    SaveSettings();
    SaveHostHistory();
}

void TFormSetings::FormDestroy()
{
    ZV_FAIL_POINT("FormSetings.FormDestroy");
    SaveOnce();
}
