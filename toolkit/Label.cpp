#include "toolkit/Label.h"

#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"
#include "toolkit/SystemColors.h"

namespace tk {

Label::Label(Component* owner, CustomControl* parent, Rect bounds, std::string text)
    : GraphicControl(owner, parent, bounds), text_(std::move(text)), textColor_(GetSysColor(COLOR_WINDOWTEXT))
{
    SetRole(AccessibleRole::StaticText);
}

void Label::SetText(std::string text)
{
    const bool changed = text != text_;
    text_ = std::move(text);
    AdjustSize();
    Invalidate();
    if (changed)
        Parent()->GraphicTextChanged(this);
}

void Label::SetFont(HFONT font)
{
    font_ = font;
    AdjustSize();
    Invalidate();
}

void Label::SetTextColor(COLORREF color)
{
    textColor_ = color;
    Invalidate();
}

void Label::SetBackground(COLORREF color)
{
    background_ = color;
    hasBackground_ = true;
    Invalidate();
}

void Label::SetAlignment(Alignment alignment)
{
    alignment_ = alignment;
    Invalidate();
}

void Label::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustSize();
}

HFONT Label::EffectiveFont() const
{
    if (font_)
        return font_;
    if (HFONT parentFont = Parent()->GetFont())
        return parentFont;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Label::AdjustSize()
{
    if (!autoSize_)
        return;
    ClientDC screen(nullptr);
    SelectScope font(screen.Get(), EffectiveFont());
    SIZE size{};
    GetTextExtentPoint32A(screen.Get(), text_.c_str(), static_cast<int>(text_.size()), &size);
    Rect b = Bounds();
    b.width = size.cx;
    SetBounds(b);
}

void Label::ApplyScale()
{
    GraphicControl::ApplyScale();
    AdjustSize();
}

int Label::SystemTextColor() const
{
    // On a background of its own it stands on a window's colour.
    return hasBackground_ ? COLOR_WINDOWTEXT : COLOR_BTNTEXT;
}

void Label::Paint(HDC dc)
{
    Rect b = Bounds();
    RECT r{b.left, b.top, b.Right(), b.Bottom()};
    const bool system = UsesSystemColors(*Parent());
    if (hasBackground_) {
        Brush brush(CreateSolidBrush(system ? GetSysColor(COLOR_WINDOW) : background_));
        FillRect(dc, &r, brush.Get());
    }
    SelectScope font(dc, EffectiveFont());
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, system ? GetSysColor(SystemTextColor()) : textColor_);
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
    format |= alignment_ == Alignment::Center ? DT_CENTER : alignment_ == Alignment::Right ? DT_RIGHT : DT_LEFT;
    DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &r, format);
}

} // namespace tk
