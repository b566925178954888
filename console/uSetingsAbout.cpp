// The console's About page: the program's picture, the three links, the
// version read from the executable's own resource and the local address.
// Members of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include "console/ConsoleDesign.h"
#include "console/LocalAddress.h"
#include "toolkit/ShellOpen.h"
#include "toolkit/WinFileSystem.h"

using namespace console_design;

namespace {

constexpr const char* kAuthorWebsite = "https://example.com/";
constexpr const char* kProgramWebsite = "https://example.com/zent-vorlumo/";
constexpr const char* kSocketLibraryWebsite = "https://example.com/idny/";

} // namespace

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

// A 24-bit picture of 425 x 160 at 96 dpi, packed, scaled to the window's DPI.
void TFormSetings::LoadAboutPicture()
{
    Image1->SetPicture(tk::LoadPictureResource("ABOUT", Scaling()));
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

