#include "toolkit/BitBtn.h"

#include "toolkit/Handles.h"
#include "toolkit/SystemColors.h"

namespace tk {

namespace {
constexpr int kGlyphWidth = 12;
constexpr int kGlyphGap = 4;
} // namespace

BitBtn::BitBtn(Component* owner, WinControl* parent, Rect bounds, const std::string& caption, BitBtnKind kind)
    : Button(owner, parent, bounds, caption, BS_OWNERDRAW), kind_(kind)
{
}

void BitBtn::SetDefault(bool isDefault)
{
    default_ = isDefault;
    // Out of sight it is drawn whole when shown: asking now would be a server call for nothing.
    if (IsWindowVisible(Handle()))
        InvalidateRect(Handle(), nullptr, FALSE);
}

bool BitBtn::DrawItem(DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = item.itemState & ODS_SELECTED;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    if (default_ || (item.itemState & ODS_FOCUS)) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    std::string caption = Text();
    SelectScope font(dc, GetFont() ? GetFont() : GetStockObject(DEFAULT_GUI_FONT));
    SIZE text{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const Scale s = Scaling();
    const int shift = pushed ? s(1) : 0;
    const int width = s(kGlyphWidth + kGlyphGap) + text.cx;
    const int left = (r.left + r.right - width) / 2 + shift;
    const int middle = (r.top + r.bottom) / 2 + shift;
    DrawGlyph(dc, left, middle, enabled);

    RECT textRect{left + s(kGlyphWidth + kGlyphGap), r.top + shift, r.right, r.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
    return true;
}

void BitBtn::DrawGlyph(HDC dc, int left, int middle, bool enabled) const
{
    if (kind_ != BitBtnKind::OK)
        return;
    // A check mark: a short stroke down to the right, a long one up.
    const Scale s = Scaling();
    const COLORREF tick = UsesSystemColors(*this) ? GetSysColor(COLOR_BTNTEXT) : RGB(0, 128, 0);
    Pen pen(CreatePen(PS_SOLID, s.Line(2), enabled ? tick : GetSysColor(COLOR_GRAYTEXT)));
    SelectScope select(dc, pen.Get());
    POINT mark[] = {{left + s(1), middle}, {left + s(4), middle + s(3)}, {left + s(11), middle - s(4)}};
    Polyline(dc, mark, 3);
}

} // namespace tk
