// Both windows of the real program at the DPI of the Wine prefix this test
// runs in (tools/wine-dpi-run.sh sets its LogPixels). The run at 96 dpi
// writes where every named control lies and which ones overlap by design;
// the runs at 120, 144 and 192 find every control there scaled (within a
// pixel), no new overlap, every caption as wide as its text at most, the
// compact window cut to the scaled outline, and, after a WM_DPICHANGED, the
// same at the new DPI. Each run saves screenshots of both windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Mask2Data.h"
#include "app/RegionData.h"
#include "tests/driver/Driver.h"
#include "tests/driver/DriverControls.h"
#include "toolkit/Scale.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

enum class Kind { Other, Label, BoldLabel, CheckBox, Button };

// What of a control's place follows the design values alone. A label as
// wide as its text (or grown to it) keeps the edge it is aligned to; the
// system sizes a closed combo box from its font and a tab strip from its own;
// a right-aligned label grown past the panel's edge at 96 dpi is held there.
enum class Fixed { All, Left, Right, Centre, AllButHeight, Vertical, None };

struct Control {
    const char* window; // the form's class
    const char* name;
    bool windowless;
    Kind kind = Kind::Other;
    Fixed fixed = Fixed::All;
    // Drawn under the others by design (a background or a frame's fill).
    bool background = false;
};

constexpr const char* kMain = "TFormMain";
constexpr const char* kConsole = "TFormSetings";

const Control kControls[] = {
    {kMain, "Chart1", false},
    {kMain, "CoolForm1", true, Kind::Other, Fixed::All, true},
    {kMain, "lbHost", true, Kind::Label, Fixed::Left},
    {kMain, "Image1", true},
    {kMain, "Image2", true},
    {kMain, "SpeedButton1", true},
    {kMain, "Image3", true},
    {kMain, "Label6", true, Kind::BoldLabel, Fixed::Centre},
    {kMain, "lbAVG", true, Kind::Label, Fixed::Centre},
    {kMain, "Image4", true},
    {kMain, "Image5", true},
    {kConsole, "Panel1", false},
    {kConsole, "Label1", true, Kind::BoldLabel, Fixed::Right},
    {kConsole, "cbHost", false, Kind::Other, Fixed::AllButHeight},
    {kConsole, "spbRepPing", false, Kind::Button},
    {kConsole, "BitBtnPing", false, Kind::Button},
    {kConsole, "PageControl1", false},
    {kConsole, "TabSheet3", false, Kind::Other, Fixed::None},
    {kConsole, "GroupBox1", false},
    {kConsole, "Label5", true, Kind::BoldLabel, Fixed::Centre},
    {kConsole, "speMaxLine", false},
    {kConsole, "chbErrLines", false, Kind::CheckBox},
    {kConsole, "chbClearLogs", false, Kind::CheckBox},
    {kConsole, "chbIgnoreFirst", false, Kind::CheckBox},
    {kConsole, "GroupBox2", false},
    {kConsole, "chb3D", false, Kind::CheckBox},
    {kConsole, "Label17", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "DataColorBox", false, Kind::Other, Fixed::AllButHeight},
    {kConsole, "Label8", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "AVGColorBox", false, Kind::Other, Fixed::AllButHeight},
    {kConsole, "GroupBox3", false},
    {kConsole, "Label2", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "speTimeout", false},
    {kConsole, "Label3", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "speRepeat", false},
    {kConsole, "Label15", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "speMaxHosts", false},
    {kConsole, "Label4", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "speBuffer", false},
    {kConsole, "Label9", true, Kind::BoldLabel, Fixed::Right},
    {kConsole, "Label10", true, Kind::Label, Fixed::Left},
    {kConsole, "Label12", true, Kind::BoldLabel, Fixed::Vertical},
    {kConsole, "Label11", true, Kind::Label, Fixed::Left},
    {kConsole, "Label16", true, Kind::BoldLabel, Fixed::Right},
    {kConsole, "lbVersion", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "Label18", true, Kind::BoldLabel, Fixed::Vertical},
    {kConsole, "Label19", true, Kind::Label, Fixed::Left},
    {kConsole, "Label20", true, Kind::BoldLabel, Fixed::Right},
    {kConsole, "lbIPAdress", true, Kind::BoldLabel, Fixed::Left},
    {kConsole, "Panel2", false},
    {kConsole, "Label6", true, Kind::BoldLabel, Fixed::Right},
    {kConsole, "lbAVG", true, Kind::Label, Fixed::Left},
    {kConsole, "Label7", true, Kind::BoldLabel, Fixed::Right},
    {kConsole, "lbErrorCount", true, Kind::Label, Fixed::Centre},
    {kConsole, "BitBtnClearData", false, Kind::Button},
    {kConsole, "BitBtn1", false, Kind::Button},
    {kConsole, "BitBtn2", false, Kind::Button},
    {kConsole, "StatusBar1", false},
};

// Where a control lies, in its parent's (or host's) client coordinates.
struct Place {
    HWND parent = nullptr;
    RECT rect{};
    bool visible = false;
    std::string text;
};

std::optional<Place> PlaceOf(HWND form, const Control& c)
{
    if (c.windowless) {
        auto g = FindGraphic(form, c.name);
        if (!g)
            return std::nullopt;
        return Place{g->host, g->bounds, g->visible, g->text};
    }
    HWND w = FindNamedControl(form, c.name);
    if (!w)
        return std::nullopt;
    Place p{GetParent(w), {}, IsWindowVisible(w) != FALSE, TextOf(w)};
    GetWindowRect(w, &p.rect);
    MapWindowPoints(HWND_DESKTOP, p.parent, reinterpret_cast<POINT*>(&p.rect), 2);
    return p;
}

std::string Key(const Control& c)
{
    return std::string(c.window) + "." + c.name;
}

std::string ReferenceFile()
{
    return WorkFile("tests/e2e/dpi/reference.txt");
}

// At 96 dpi: every place, and the pairs of siblings that overlap by design.
struct Reference {
    std::map<std::string, RECT> places;
    std::set<std::string> overlaps;
    std::set<std::string> clipped; // captions wider than their control
};

Reference ReadReference()
{
    Reference r;
    std::ifstream in(ReferenceFile());
    std::string kind, key;
    while (in >> kind >> key) {
        if (kind == "overlap") {
            std::string other;
            in >> other;
            r.overlaps.insert(key + " " + other);
        } else if (kind == "clipped") {
            r.clipped.insert(key);
        } else if (kind == "least") {
            std::getline(in, key);
        } else {
            RECT& rect = r.places[key];
            in >> rect.left >> rect.top >> rect.right >> rect.bottom;
        }
    }
    return r;
}

int TextWidth(const std::string& text, int dpi, bool bold)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return size.cx;
}

// The room a caption has beside what the control draws itself.
int CaptionRoom(const Control& c, const RECT& r, const tk::Scale& s)
{
    const int width = r.right - r.left;
    return c.kind == Kind::CheckBox ? width - s(16) : c.kind == Kind::Button ? width - s(4) : width;
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both{};
    return IntersectRect(&both, &a, &b) != FALSE;
}

struct Windows {
    HWND main = nullptr;
    HWND console = nullptr;
    HWND Of(const Control& c) const { return c.window == kMain ? main : console; }
};

// Checks both windows at `dpi` against the reference, or writes it at 96.
void CheckPlaces(const Windows& w, int dpi)
{
    const tk::Scale s(dpi);
    const bool writing = s.IsIdentity();
    const Reference reference = writing ? Reference{} : ReadReference();
    std::ofstream out;
    if (writing) {
        CreateDirectoryA(WorkFile("tests/e2e/dpi").c_str(), nullptr);
        out.open(ReferenceFile());
    }
    std::map<std::string, Place> places;
    for (const Control& c : kControls) {
        SCOPED_TRACE(Key(c));
        const auto p = PlaceOf(w.Of(c), c);
        ASSERT_TRUE(p.has_value());
        places[Key(c)] = *p;
        const RECT& r = p->rect;
        if (writing) {
            out << "place " << Key(c) << " " << r.left << " " << r.top << " " << r.right << " " << r.bottom << "\n";
        } else {
            const RECT& at96 = reference.places.at(Key(c));
            const Fixed f = c.fixed;
            if (f != Fixed::None) {
                EXPECT_NEAR(r.top, s(at96.top), 1);
            }
            if (f != Fixed::None && f != Fixed::AllButHeight) {
                EXPECT_NEAR(r.bottom, s(at96.bottom), 1);
            }
            if (f == Fixed::All || f == Fixed::AllButHeight || f == Fixed::Left) {
                EXPECT_NEAR(r.left, s(at96.left), 1);
            }
            if (f == Fixed::All || f == Fixed::AllButHeight || f == Fixed::Right) {
                EXPECT_NEAR(r.right, s(at96.right), 1);
            }
            if (f == Fixed::Centre) { // halves of scaled edges: a pixel either way
                EXPECT_NEAR(r.left + r.right, s(at96.left) + s(at96.right), 2);
            }
        }
        if (c.kind == Kind::Other || p->text.empty() ||
            TextWidth(p->text, dpi, c.kind == Kind::BoldLabel) <= CaptionRoom(c, r, s))
            continue;
        if (writing)
            out << "clipped " << Key(c) << "\n";
        else
            EXPECT_TRUE(reference.clipped.count(Key(c))) << p->text << " is cut only at " << dpi << " dpi";
    }
    for (const Control& a : kControls)
        for (const Control& b : kControls) {
            const Place& pa = places[Key(a)];
            const Place& pb = places[Key(b)];
            if (Key(a) >= Key(b) || pa.parent != pb.parent || a.windowless != b.windowless || a.background ||
                b.background || !pa.visible || !pb.visible || !Overlap(pa.rect, pb.rect))
                continue;
            const std::string pair = Key(a) + " " + Key(b);
            if (writing)
                out << "overlap " << pair << "\n";
            else
                EXPECT_TRUE(reference.overlaps.count(pair)) << pair << " overlap only at " << dpi << " dpi";
        }
}

// The window's region is the stored outline scaled, and a point just past
// its right edge is not the window's.
void CheckOutline(HWND main, int dpi)
{
    const tk::Scale s(dpi);
    const auto rects = DecodeRegionData(std::vector<std::uint8_t>(Mask2 + 4, Mask2 + sizeof Mask2));
    ASSERT_TRUE(rects.has_value());
    const std::vector<std::uint8_t> expected = EncodeRegionData(ScaleRegionRects(*rects, s));
    HRGN outline = ExtCreateRegion(nullptr, static_cast<DWORD>(expected.size()),
                                   reinterpret_cast<const RGNDATA*>(expected.data()));
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(main, actual), ERROR);
    EXPECT_TRUE(EqualRgn(outline, actual));
    DeleteObject(outline);
    DeleteObject(actual);
    // Just inside and just outside both ends of the body's band at y 200.
    TRegionRect band{};
    for (const TRegionRect& r : *rects)
        if (r.top <= 200 && 200 < r.bottom)
            band = band.right ? TRegionRect{band.left, r.top, r.right, r.bottom} : r;
    ASSERT_GT(band.right, 0);
    const int y = s(200);
    for (const auto& [x, inside] : {std::pair{s(band.right) - 1, true}, std::pair{s(band.right), false},
                                    std::pair{s(band.left), true}, std::pair{s(band.left) - 1, false}}) {
        POINT p{x, y};
        ClientToScreen(main, &p);
        EXPECT_EQ(GetAncestor(WindowFromPoint(p), GA_ROOT) == main, inside) << x << "," << y;
    }
}

// The console made as low as it goes: its least client height, which scales.
void CheckLeastHeight(HWND console, int dpi)
{
    RECT r{};
    GetWindowRect(console, &r);
    SetWindowPos(console, nullptr, 0, 0, r.right - r.left, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(console, &client);
    const tk::Scale s(dpi);
    if (s.IsIdentity()) {
        std::ofstream(ReferenceFile(), std::ios::app) << "least TFormSetings.height " << client.bottom << "\n";
        return;
    }
    std::ifstream in(ReferenceFile());
    std::string kind, key;
    int at96 = -1;
    while (in >> kind >> key)
        if (kind == "least")
            in >> at96;
        else
            std::getline(in, key);
    EXPECT_NEAR(client.bottom, s(at96), 1);
}

// A picture of the window alone, cut from one of the whole display.
void SaveShot(HWND window, const std::string& name)
{
    const std::string whole = Screenshot(name + "-display");
    ASSERT_FALSE(whole.empty());
    RECT r{};
    GetWindowRect(window, &r);
    char crop[64];
    std::snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", r.right - r.left, r.bottom - r.top, r.left, r.top);
    const std::string shot = WorkDir() + "/screenshots/" + name + ".png";
    EXPECT_TRUE(RunShell("convert '" + whole + "' -crop " + crop + " +repage '" + shot + "' && rm -f '" + whole + "'",
                         20s));
}

// The program that only ever pings loopback, in a folder of its own.
std::string PrepareProgram(int dpi)
{
    CreateDirectoryA(WorkFile("tests/e2e/dpi").c_str(), nullptr);
    const std::string copy =
        LoopbackCopy(WorkFile("tests/e2e/dpi") + "\\" + std::to_string(dpi), BuildFile("app/ZentVorlumo.exe"));
    EXPECT_FALSE(copy.empty()) << "the test's program could not be prepared";
    return copy;
}

// What the system sends a window moved to a monitor of another DPI: the
// client area scaled, in a frame that Wine draws the same at every DPI. The
// suggested rectangle is written into the program's memory, as Wine does
// not carry this message's pointer across processes.
void MoveToDpi(HWND window, int from, int to)
{
    RECT r{};
    RECT client{};
    GetWindowRect(window, &r);
    GetClientRect(window, &client);
    const RECT suggested{r.left, r.top, r.right + MulDiv(client.right, to, from) - client.right,
                         r.bottom + MulDiv(client.bottom, to, from) - client.bottom};
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, ProcessOf(window));
    ASSERT_NE(process, nullptr);
    void* remote = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    ASSERT_TRUE(WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr));
    SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
}

} // namespace

TEST(HighDpi, BothWindowsAreLaidOutWholeAtTheDisplaysDpi)
{
    SetProcessDPIAware(); // our own view of the windows, unscaled
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const std::string percent = std::to_string(dpi * 100 / 96);

    Program program(PrepareProgram(dpi));
    Windows w{WaitForWindow(program.Pid(), kMain, 15s), WaitForWindow(program.Pid(), kConsole, 5s)};
    ASSERT_TRUE(w.main && w.console);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(w.main) != FALSE; }, 5s));
    SaveShot(w.main, "dpi-" + percent + "-compact");
    CheckOutline(w.main, dpi);
    ASSERT_TRUE(ClickGraphic(w.main, "Image1")); // the console on its "Setings" page
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(w.console) != FALSE; }, 5s));
    SaveShot(w.console, "dpi-" + percent + "-console");

    CheckPlaces(w, dpi);
    if (dpi == 120) {
        // Moved to a monitor at 200 %: laid out again as if started there.
        MoveToDpi(w.console, dpi, 192);
        MoveToDpi(w.main, dpi, 192);
        ASSERT_TRUE(Responsive(w.console));
        CheckPlaces(w, 192);
        SaveShot(w.console, "dpi-moved-to-200-console");
        Close(w.console);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(w.console); }, 5s));
        CheckOutline(w.main, 192);
    } else {
        // Not after the move: Wine keeps drawing the frame for its one DPI.
        CheckLeastHeight(w.console, dpi);
    }
    Close(w.main);
    EXPECT_EQ(program.WaitForExit(10s), DWORD{0});
}
