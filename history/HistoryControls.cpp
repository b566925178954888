#include "history/HistoryControls.h"

#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"
#include "toolkit/SystemColors.h"
#include "toolkit/WinFileSystem.h"

THistoryText::THistoryText(tk::Component* owner, tk::CustomControl* parent, tk::Rect bounds)
    : GraphicControl(owner, parent, bounds)
{
    SetRole(tk::AccessibleRole::StaticText);
}

void THistoryText::SetText(std::string utf8)
{
    if (utf8 == text_)
        return;
    text_ = std::move(utf8);
    // A client reads names in the ANSI code page.
    SetAccessibleName(tk::AnsiText(tk::WideFromUtf8(text_)));
    Invalidate();
    Parent()->GraphicTextChanged(this);
}

void THistoryText::Paint(HDC dc)
{
    const tk::Rect b = Bounds();
    RECT r{b.left, b.top, b.Right(), b.Bottom()};
    tk::Brush back(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &r, back.Get());
    tk::SelectScope font(dc, font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const std::wstring wide = tk::WideFromUtf8(text_);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

THistoryDatePicker::THistoryDatePicker(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds)
    : WinControl(owner, parent)
{
    // The date classes are not among those the application registers.
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
    CreateHandle(DATETIMEPICK_CLASSA, "", WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, 0, bounds);
}

LRESULT THistoryDatePicker::Notify(NMHDR& header)
{
    if (header.code == DTN_DATETIMECHANGE && OnChange) {
        const auto& change = reinterpret_cast<NMDATETIMECHANGE&>(header);
        if (change.dwFlags == GDT_VALID)
            OnChange(change.st);
    }
    return 0;
}

THistoryProgress::THistoryProgress(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds)
    : WinControl(owner, parent)
{
    CreateHandle(PROGRESS_CLASSA, "", PBS_SMOOTH, 0, bounds);
}

void THistoryProgress::SetRange(int steps)
{
    SendMessageA(Handle(), PBM_SETRANGE32, 0, steps);
}

void THistoryProgress::SetPosition(int step)
{
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(step), 0);
}

THistoryOutageList::THistoryOutageList(tk::Component* owner, tk::WinControl* parent, tk::Rect bounds)
    : ListView(owner, parent, bounds)
{
}

LRESULT THistoryOutageList::Notify(NMHDR& header)
{
    if (header.code == NM_DBLCLK && OnDoubleClick) {
        const int row = reinterpret_cast<NMITEMACTIVATE&>(header).iItem;
        if (row >= 0)
            OnDoubleClick(row);
    }
    return ListView::Notify(header);
}
