// The second column of bench_startup: the program's windows made by hand,
// without our toolkit. The same classes, styles, places, texts, list
// columns, tabs and combo items (the table PlainWindows.inc, written by
// `bench_startup --dump` from the real program), the same fonts, pictures
// and outline; the compact window shown and painted, the console hidden.
// bench_startup checks on each run that both trees still match.
// Built a second time with ZV_PLAIN_DESIGN_WORK (bench_plain_design) it also
// does what the design asks of every start besides its windows: Windows
// Sockets 1.1 imported and asked for the local address, the version resource
// read, the two settings files looked for. The program over that one is
// the toolkit's own share.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/Mask2Data.h"
#include "app/RegionData.h"
#include "toolkit/Picture.h"
#ifdef ZV_PLAIN_DESIGN_WORK
#include "console/LocalAddress.h"
#endif

namespace {

struct Row {
    int parent;
    const char* className;
    const char* text;
    DWORD style, exStyle;
    RECT rect;
    DWORD listStyle;
    const char* items;
};

const Row kRows[] = {
#include "tools/bench/PlainWindows.inc"
};

struct Pictures {
    HBITMAP skin, start, notice, close, about;
    HFONT normal, bold;
} pictures;

// An 8-bit RLE BMP kept as RCDATA, handed to the system as it is.
HBITMAP LoadRleBitmap(const char* name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));
    auto* file = found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    if (!file)
        return nullptr;
    const auto* header = reinterpret_cast<const BITMAPFILEHEADER*>(file);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file + sizeof(BITMAPFILEHEADER));
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file + header->bfOffBits, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// The About picture, kept packed (tk::PackPicture): the system cannot read
// that form, so it is unpacked into a 24-bit DIB section, as the program does.
HBITMAP LoadPackedBitmap(const char* name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));
    auto* data = found ? static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found))) : nullptr;
    const auto picture = data ? tk::UnpackPicture(data, SizeofResource(module, found)) : std::nullopt;
    if (!picture)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, picture->Width, -picture->Height, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const std::size_t row = static_cast<std::size_t>(picture->Width) * 3;
    const std::size_t stride = (row + 3) & ~std::size_t{3};
    for (std::size_t y = 0; bitmap && y < static_cast<std::size_t>(picture->Height); ++y)
        std::memcpy(static_cast<BYTE*>(bits) + stride * y, picture->Bgr.data() + row * y, row);
    return bitmap;
}

HFONT SansSerif(bool bold)
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
}

void Blit(HDC dc, HBITMAP bitmap, int x, int y, bool transparent)
{
    BITMAP b{};
    GetObjectA(bitmap, sizeof b, &b);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    if (transparent)
        TransparentBlt(dc, x, y, b.bmWidth, b.bmHeight, source, 0, 0, b.bmWidth, b.bmHeight,
                       GetPixel(source, 0, b.bmHeight - 1));
    else
        BitBlt(dc, x, y, b.bmWidth, b.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void Text(HDC dc, HFONT font, RECT r, const char* text, UINT format)
{
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, text, -1, &r, format | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

void PaintCompactWindow(HDC dc)
{
    Blit(dc, pictures.skin, 0, 0, false);
    Blit(dc, pictures.notice, 91, 179, false);
    Blit(dc, pictures.start, 296, 177, true);
    Blit(dc, pictures.close, 442, 56, false);
    SetBkMode(dc, TRANSPARENT);
    Text(dc, pictures.normal, {88, 57, 300, 70}, "No host chosen yet", DT_LEFT);
    SetTextColor(dc, RGB(255, 255, 255));
    Text(dc, pictures.bold, {320, 134, 457, 147}, "AVG Trip Time / Error", DT_CENTER);
    Text(dc, pictures.normal, {328, 151, 457, 164}, "0,00 [ms] / 0 [err]", DT_CENTER);
}

void PaintChart(HWND window, HDC dc)
{
    RECT r{};
    GetClientRect(window, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (lstrcmpA(name, "TFormMain") == 0)
            PaintCompactWindow(dc);
        else if (lstrcmpA(name, "ZvChart") == 0)
            PaintChart(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    // The compact window's end is the program's (it is hidden by then, so
    // ask its class, not whether it shows).
    if (message == WM_DESTROY && !GetParent(window)) {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, "TFormMain") == 0)
            PostQuitMessage(0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOnce(const std::string& className, bool topLevel)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(nullptr, className.c_str(), &wc) || GetClassInfoExA(instance, className.c_str(), &wc))
        return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (topLevel)
        wc.hIcon = LoadIconA(instance, "MAINICON");
    wc.lpszClassName = className.c_str();
    RegisterClassExA(&wc);
}

std::vector<std::string> Lines(const char* text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char* c = text; *c; ++c) {
        if (*c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += *c;
        }
    }
    return lines;
}

void FillItems(HWND window, const Row& row)
{
    const std::string className = row.className;
    int index = 0;
    for (const std::string& item : Lines(row.items)) {
        if (className == "SysListView32") {
            // caption|width|format
            const auto bar = item.find('|'), bar2 = item.rfind('|');
            std::string caption = item.substr(0, bar);
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
            column.fmt = std::stoi(item.substr(bar2 + 1));
            column.cx = std::stoi(item.substr(bar + 1, bar2 - bar - 1));
            column.pszText = caption.data();
            column.iSubItem = index;
            SendMessageA(window, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
        } else if (className == "SysTabControl32") {
            std::string caption = item;
            TCITEMA tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = caption.data();
            SendMessageA(window, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&tab));
        } else if (className == "ComboBox") {
            const LPARAM value = row.style & CBS_HASSTRINGS ? reinterpret_cast<LPARAM>(item.c_str())
                                                            : static_cast<LPARAM>(std::stol(item));
            SendMessageA(window, CB_ADDSTRING, 0, value);
        }
        ++index;
    }
    if (row.listStyle)
        SendMessageA(window, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(row.listStyle));
    // A combo box takes no text at creation: a drop-down list shows its text
    // by choosing it, one with an edit field is given it.
    if (className == "ComboBox" && (row.style & 3) == CBS_DROPDOWNLIST)
        SendMessageA(window, CB_SETCURSEL, SendMessageA(window, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(row.text)),
                     0);
    else if (className == "ComboBox")
        SetWindowTextA(window, row.text);
}

// Children that a standard control makes itself (a combo box's edit, a
// list's header) are in the table for the check, not made here.
bool MadeByItsParent(int parent)
{
    if (parent < 0)
        return false;
    const std::string className = kRows[parent].className;
    return className == "ComboBox" || className == "SysListView32";
}

#ifdef ZV_PLAIN_DESIGN_WORK
void DesignWork()
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    DWORD handle = 0;
    std::vector<char> version(GetFileVersionInfoSizeA(self, &handle));
    if (!version.empty())
        GetFileVersionInfoA(self, 0, static_cast<DWORD>(version.size()), version.data());
    std::string folder(self);
    folder.erase(folder.find_last_of('\\') + 1);
    for (const char* name : {"zentvorlumo.ini", "host.txt"}) {
        HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    LocalIPv4Address();
}
#endif

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
#ifdef ZV_PLAIN_DESIGN_WORK
    DesignWork();
#endif
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    pictures = {LoadRleBitmap("SKIN"),
                LoadRleBitmap("START"),
                LoadRleBitmap("NOTICE"),
                LoadRleBitmap("CLOSE"),
                LoadPackedBitmap("ABOUT"),
                SansSerif(false),
                SansSerif(true)};
    TByteStream maskStream(Mask2, sizeof Mask2);
    const std::vector<std::uint8_t> outline = ReadMask2(maskStream);

    const int count = static_cast<int>(sizeof kRows / sizeof kRows[0]);
    std::vector<HWND> windows(count, nullptr);
    for (int i = 0; i < count; ++i) {
        const Row& row = kRows[i];
        if (MadeByItsParent(row.parent))
            continue;
        const bool topLevel = row.parent < 0;
        RegisterOnce(row.className, topLevel);
        const RECT& r = row.rect;
        windows[i] = CreateWindowExA(row.exStyle, row.className, row.text, topLevel ? row.style & ~WS_VISIBLE : row.style,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     topLevel ? nullptr : windows[row.parent],
                                     topLevel ? nullptr : reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + i)),
                                     instance, nullptr);
        if (!topLevel)
            SendMessageA(windows[i], WM_SETFONT, reinterpret_cast<WPARAM>(pictures.normal), FALSE);
        FillItems(windows[i], row);
        if (topLevel && lstrcmpA(row.className, "TFormMain") == 0 && !outline.empty())
            SetWindowRgn(windows[i],
                         ExtCreateRegion(nullptr, static_cast<DWORD>(outline.size()),
                                         reinterpret_cast<const RGNDATA*>(outline.data())),
                         FALSE);
    }
    for (int i = 0; i < count; ++i)
        if (kRows[i].parent < 0 && (kRows[i].style & WS_VISIBLE))
            ShowWindow(windows[i], SW_SHOW);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
