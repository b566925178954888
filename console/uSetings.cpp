#include "console/uSetings.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "console/HostHistory.h"
#include "console/LocalAddress.h"
#include "console/SettingsRules.h"
#include "toolkit/Application.h"
#include "toolkit/ErrorText.h"
#include "toolkit/ShellOpen.h"
#include "toolkit/TestHooks.h"
#include "toolkit/WinFileSystem.h"

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

// Both files lie beside the executable; wide paths, so any folder name works.
tk::FilePath SettingsPath()
{
    return tk::ModuleFolder() + tk::WideText(kSettingsFileName);
}

tk::FilePath HostPath()
{
    return tk::ModuleFolder() + tk::WideText(kHostFileName);
}

std::int32_t ReadSetting(const tk::FilePath& path, SettingId id)
{
    const SettingKey& key = SettingKeyOf(id);
    wchar_t value[256] = L"";
    DWORD length = GetPrivateProfileStringW(tk::WideText(key.section).c_str(), tk::WideText(key.key).c_str(), L"",
                                            value, 256, path.c_str());
    return ReadSettingValue(key, tk::AnsiText(std::wstring(value, length)));
}

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const tk::FilePath& path)
{
    tk::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return std::nullopt;
    }
    std::string text;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    return text;
}

bool FileExists(const tk::FilePath& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Each settings key with the control that shows it. Load and save both run
// through this one table, so no key can be saved without being loaded.
struct SettingBinding {
    SettingId id;
    std::int32_t (*get)(const TFormSetings& form);
    void (*set)(TFormSetings& form, std::int32_t value);
};

// Integers go through the fields' value setter, which clamps them; the graph
// settings run their handlers even when a state did not change, so the chart
// follows.
constexpr SettingBinding kSettingBindings[] = {
    {SettingId::MaxLines, [](const TFormSetings& f) { return f.speMaxLine->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speMaxLine->SetValue(v); }},
    {SettingId::LinesErrors, [](const TFormSetings& f) { return std::int32_t{f.chbErrLines->Checked()}; },
     [](TFormSetings& f, std::int32_t v) { f.chbErrLines->SetChecked(v); }},
    {SettingId::AutoClearLogs, [](const TFormSetings& f) { return std::int32_t{f.chbClearLogs->Checked()}; },
     [](TFormSetings& f, std::int32_t v) { f.chbClearLogs->SetChecked(v); }},
    {SettingId::IgnoreFirst, [](const TFormSetings& f) { return std::int32_t{f.chbIgnoreFirst->Checked()}; },
     [](TFormSetings& f, std::int32_t v) { f.chbIgnoreFirst->SetChecked(v); }},
    {SettingId::Graph3D, [](const TFormSetings& f) { return std::int32_t{f.chb3D->Checked()}; },
     [](TFormSetings& f, std::int32_t v) {
         f.chb3D->SetChecked(v);
         f.chb3DClick(f.chb3D);
     }},
    {SettingId::AVGColor, [](const TFormSetings& f) { return static_cast<std::int32_t>(f.AVGColorBox->Selected()); },
     [](TFormSetings& f, std::int32_t v) {
         f.AVGColorBox->SetSelected(static_cast<std::uint32_t>(v));
         f.AVGColorBoxChange(f.AVGColorBox);
     }},
    {SettingId::DataColor, [](const TFormSetings& f) { return static_cast<std::int32_t>(f.DataColorBox->Selected()); },
     [](TFormSetings& f, std::int32_t v) {
         f.DataColorBox->SetSelected(static_cast<std::uint32_t>(v));
         f.DataColorBoxChange(f.DataColorBox);
     }},
    {SettingId::Repeat, [](const TFormSetings& f) { return f.speRepeat->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speRepeat->SetValue(v); }},
    {SettingId::TimeOut, [](const TFormSetings& f) { return f.speTimeout->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speTimeout->SetValue(v); }},
    {SettingId::MaxHosts, [](const TFormSetings& f) { return f.speMaxHosts->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speMaxHosts->SetValue(v); }},
    {SettingId::Buffer, [](const TFormSetings& f) { return f.speBuffer->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speBuffer->SetValue(v); }},
};

constexpr bool BindingsFollowTheKeys()
{
    for (std::size_t i = 0; i < std::size(kSettingBindings); ++i)
        if (kSettingBindings[i].id != static_cast<SettingId>(i))
            return false;
    return std::size(kSettingBindings) == std::tuple_size_v<SettingValues>;
}
static_assert(BindingsFollowTheKeys(), "one binding per settings key, in SettingId order");

const SettingBinding& BindingOf(SettingId id)
{
    return kSettingBindings[static_cast<std::size_t>(id)];
}

// The eleven writes, made to the copy of the settings file that will
// replace it. Each call rewrites that copy; a failure aborts the save.
void WriteSettings(const tk::FilePath& path, const SettingValues& values)
{
    for (const SettingKey& key : SettingKeys()) {
        const std::string text = FormatSettingValue(key, values[static_cast<std::size_t>(key.id)]);
        if (!WritePrivateProfileStringW(tk::WideText(key.section).c_str(), tk::WideText(key.key).c_str(),
                                        tk::WideText(text).c_str(), path.c_str()))
            throw std::runtime_error("not written");
    }
    // The profile calls may report success for writes that never reached
    // the disk (a full disk under Wine): what counts is what the file holds.
    std::optional<std::string> written = ReadWholeFile(path);
    if (!written || !HoldsSettings(*written, values))
        throw std::runtime_error("not as written");
}

std::string KeptText(const tk::SafeReplaceError& e)
{
    return "Cannot write file " + tk::AnsiText(e.Target()) + ": " + e.Reason() + ". The previous copy was kept.";
}
} // namespace

// The client area is what scales; the frame is the system's at each DPI.
TFormSetings::TFormSetings(tk::Component* owner, TMonitorRun& run)
    : tk::Form(owner, "TFormSetings", {kClientWidth, DesignClientHeight()}), run_(run), csv_(run, tk::Utf8Text)
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
    ListView1 = new tk::ListView(this, TabSheet1, SheetArea(), true, tk::ListView::Selection::Rows);
    ListView1->SetName("ListView1");
    ListView1->AddColumn("Adress From", 100);
    ListView1->AddColumn("Bytes", 40, tk::Alignment::Center);
    ListView1->AddColumn("Type", 40, tk::Alignment::Center);
    ListView1->AddColumn("Seq.ID", 80, tk::Alignment::Center);
    ListView1->AddColumn("Trip time [ms]", 100, tk::Alignment::Center);
    ListView1->AddColumn("Time to Live", 100, tk::Alignment::Center);

    TabSheet2 = new tk::TabSheet(this, PageControl1, "Error logs");
    TabSheet2->SetName("TabSheet2");
    ListViewError = new tk::ListView(this, TabSheet2, SheetArea(), true, tk::ListView::Selection::Rows);
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
    LoadAboutPicture();
    const tk::Rect area = SheetArea();
    Panel4 = new tk::Panel(this, TabSheet4, {0, area.height - kAboutPanelHeight, area.width, kAboutPanelHeight},
                           false);
    Panel4->SetName("Panel4");
    Panel4->SetColor(kWhite);
    Shape2 = new tk::Shape(this, Panel4, {0, 0, 100, kAboutPanelHeight});
    Shape2->SetName("Shape2");
    CreateAboutPanel();
}

// A plain 24-bit bitmap of 425 x 160 at 96 dpi, scaled to the window's DPI.
void TFormSetings::LoadAboutPicture()
{
    Image1->SetPicture(tk::ScaleBitmap(tk::Bitmap(static_cast<HBITMAP>(LoadImageA(
                                           GetModuleHandleA(nullptr), "ABOUT", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))),
                                       Scaling()));
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
    link->SetFont(LinkFont(false));
    link->SetBackground(kWhite);
    link->SetAutoSize(true);
    link->OnMouseEnter = [this](tk::Component* sender) { Label10MouseEnter(sender); };
    link->OnMouseLeave = [this](tk::Component* sender) { Label10MouseLeave(sender); };
    return link;
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

#ifdef ZV_TEST_HOOKS
namespace {
// "kind|bytes|type|seq|trip|ttl|from|host": a reply as the echo client would
// deliver it, with the host box's text at that moment (the rest of the text).
bool TakeTestReply(TFormSetings& form, UINT message, WPARAM wParam)
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
    form.cbHost->SetText(text.substr(start));
    form.IdIcmpClientReply(form.IdIcmpClient, reply);
    return true;
}
} // namespace
#endif

LRESULT TFormSetings::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
#ifdef ZV_TEST_HOOKS
    if (TakeTestReply(*this, message, wParam))
        return 0;
#endif
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
    static_cast<tk::LinkLabel*>(Sender)->SetFont(LinkFont(true));
}

void TFormSetings::Label10MouseLeave(tk::Component* Sender)
{
    static_cast<tk::LinkLabel*>(Sender)->SetFont(LinkFont(false));
}

void TFormSetings::OpenLink(const char* address)
{
    tk::ShellOpen(Handle(), address);
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
    ZentVersion1->SetFileName(tk::ModuleFilePath());
    lbVersion->SetText(ZentVersion1->VersionString());
    lbIPAdress->SetText(GetLocalIPAddress());
}

std::string TFormSetings::GetLocalIPAddress()
{
    return LocalIPv4Address();
}

void TFormSetings::LoadSettings()
{
    const tk::FilePath path = SettingsPath();
    for (SettingId id : SettingLoadOrder())
        BindingOf(id).set(*this, ReadSetting(path, id));
}

void TFormSetings::SaveSettings()
{
    // Numeric fields give their value as typed, to be clamped at the next start.
    SettingValues values{};
    for (const SettingBinding& binding : kSettingBindings)
        values[static_cast<std::size_t>(binding.id)] = binding.get(*this);
    // The writes go to a copy of the old file, so keys stay where they stand
    // and other sections stay; only a copy that holds them all replaces it.
    const tk::FilePath path = SettingsPath();
    std::optional<std::string> old = FileExists(path) ? ReadWholeFile(path) : std::string();
    try {
        if (!old)
            throw std::runtime_error("unreadable");
        tk::WinFileSystem fs;
        tk::SafeReplace(fs, path, *old, [&](const tk::FilePath& temp) { WriteSettings(temp, values); });
    } catch (const std::runtime_error&) {
        throw std::runtime_error("Unable to write to " + tk::AnsiText(path));
    }
}

void TFormSetings::LoadHostHistory()
{
    const tk::FilePath path = HostPath();
    if (!FileExists(path))
        return;
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        throw std::runtime_error("Cannot open file " + tk::AnsiText(path));
    std::vector<std::string> hosts = SplitHostLines(*text);
    cbHost->SetItems(hosts);
    if (!hosts.empty())
        cbHost->SetItemIndex(0);
    run_.SetHost(hosts.empty() ? std::string() : hosts.front());
}

void TFormSetings::SaveHostHistory()
{
    try {
        tk::WinFileSystem fs;
        tk::SafeReplace(fs, HostPath(), JoinHostLines(cbHost->Items()));
    } catch (const tk::SafeReplaceError& e) {
        using Step = tk::SafeReplaceError::Step;
        if (e.FailedStep() == Step::Create || e.FailedStep() == Step::Replace)
            throw std::runtime_error("Cannot create file " + tk::AnsiText(e.Target()));
        throw std::runtime_error(KeptText(e));
    }
}

void TFormSetings::AddHostToHistory(const std::string& host)
{
    std::vector<std::string> hosts = cbHost->Items();
    HostChange change = AddHost(hosts, host, speMaxHosts->ClampedValue());
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
    // The history is saved even when the settings could not be; both
    // failures then share one box.
    std::string failures;
    for (void (TFormSetings::*save)() : {&TFormSetings::SaveSettings, &TFormSetings::SaveHostHistory}) {
        try {
            (this->*save)();
        } catch (const std::exception& e) {
            failures += (failures.empty() ? "" : "\r\n") + tk::WithFullStop(e.what());
        }
    }
    if (!failures.empty())
        throw std::runtime_error(failures);
}

void TFormSetings::FormDestroy()
{
    ZV_FAIL_POINT("FormSetings.FormDestroy");
    SaveOnce();
}
