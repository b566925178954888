#include "toolkit/ColorBox.h"

#include "toolkit/ColorList.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Handles.h"

namespace tk {

namespace {
constexpr int kItemHeight = 16;
constexpr int kClosedHeight = kItemHeight + 6; // with the box's border
constexpr int kDropDownItems = 10;
// The open box: the closed one with room for the list below it.
constexpr int kOpenHeight = kItemHeight + 8 + kDropDownItems * kItemHeight;
constexpr int kSwatchWidth = 22;

// The open box's height in pixels, cut down to the whole rows its list
// shows in `open` pixels. A list box keeps to whole rows: left with spare
// pixels it would cut itself down again after every move of the box (a
// server call each under Wine), five times while the box is being made.
int WholeRowsHeight(int open, Scale scale)
{
    const int item = scale(kItemHeight);
    // Above the list the selection field (6 more than an item) in the box's
    // 2-pixel frame; around the rows the list's own 1-pixel frame.
    const int above = item + 6 + 2 * 2;
    const int frame = 2;
    const int rows = (open - above - frame) / item;
    return rows > 0 ? above + frame + rows * item : open;
}
} // namespace

COLORREF ColorToRGB(std::uint32_t color)
{
    return IsSystemColor(color) ? GetSysColor(static_cast<int>(color & ~kSystemColorFlag)) : color & 0x00FFFFFF;
}

ColorBox::ColorBox(Component* owner, WinControl* parent, Rect bounds) : WinControl(owner, parent)
{
    // A combo box's window height includes its open list. The list always
    // has more colours than rows, so its scroll bar is kept rather than taken
    // away while it is empty and given back as it fills.
    bounds.height = kOpenHeight;
    Rect placed = Scaling()(bounds);
    placed.height = WholeRowsHeight(placed.height, Scaling());
    CreateHandle("COMBOBOX", "",
                 WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS |
                     CBS_DISABLENOSCROLL,
                 0, bounds, placed);
    // Filled in one batch: otherwise the list resets its scroll bar after
    // every entry, which is most of a colour box's creation time under Wine.
    std::size_t bytes = 0;
    for (const NamedColor& c : ColorList())
        bytes += ColorName(c.value).size() + 1;
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(Handle(), CB_INITSTORAGE, ColorList().size(), bytes);
    for (const NamedColor& c : ColorList())
        AddItem(c.value);
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    SetSelected(0);
    FitClosedHeight();
}

void ColorBox::ApplyScale()
{
    WinControl::ApplyScale();
    SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, Scaling()(kItemHeight));
    FitClosedHeight();
}

// At 96 dpi the system's own height is the design height.
void ColorBox::FitClosedHeight()
{
    const Rect design = DesignBounds();
    if (!Scaling().IsIdentity())
        SetClosedHeight(Handle(), Scaling()(Rect{design.left, design.top, design.width, kClosedHeight}).height);
}

int ColorBox::Count() const
{
    return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0));
}

void ColorBox::AddItem(std::uint32_t color)
{
    const std::string name = ColorName(color);
    auto index = SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(color));
}

void ColorBox::SetSelected(std::uint32_t color)
{
    selected_ = color;
    std::optional<std::size_t> index = FindColor(color);
    if (!index) {
        // The one extra entry shows the colour that is not offered; it stays
        // until another such colour is set, so the user can go back to it.
        if (hasExtra_)
            SendMessageA(Handle(), CB_DELETESTRING, ColorList().size(), 0);
        AddItem(color);
        hasExtra_ = true;
        index = ColorList().size();
    }
    SendMessageA(Handle(), CB_SETCURSEL, *index, 0);
}

void ColorBox::Command(unsigned code)
{
    // A list closed with Escape goes back to its first entry without another
    // CBN_SELCHANGE, so the closing is checked as well.
    if (code != CBN_SELCHANGE && code != CBN_CLOSEUP && code != CBN_SELENDCANCEL)
        return;
    auto index = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return;
    auto color = static_cast<std::uint32_t>(SendMessageA(Handle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    if (color == selected_)
        return;
    selected_ = color;
    if (OnChange)
        OnChange(this);
}

bool ColorBox::MeasureItem(MEASUREITEMSTRUCT& item)
{
    item.itemHeight = static_cast<UINT>(Scaling()(kItemHeight));
    return true;
}

bool ColorBox::DrawItem(DRAWITEMSTRUCT& item)
{
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(item.itemID) < 0)
        return true;
    const auto color = static_cast<std::uint32_t>(item.itemData);
    const Scale s = Scaling();
    RECT swatch{r.left + s(2), r.top + s(2), r.left + s(2 + kSwatchWidth), r.bottom - s(2)};
    Brush fill(CreateSolidBrush(ColorToRGB(color)));
    FillRect(dc, &swatch, fill.Get());
    FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const std::string name = ColorName(color);
    RECT text{swatch.right + s(4), r.top, r.right, r.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &r);
    return true;
}

} // namespace tk
