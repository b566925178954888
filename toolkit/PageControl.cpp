#include "toolkit/PageControl.h"

#include "toolkit/Win32Error.h"

namespace tk {

TabSheet::TabSheet(Component* owner, PageControl* pageControl, const std::string& caption)
    : Panel(owner, pageControl, pageControl->InsertTab(caption), false, pageControl->PageCount() == 0)
{
    pageControl->AddPage(this);
}

PageControl::PageControl(Component* owner, WinControl* parent, Rect bounds) : WinControl(owner, parent)
{
    // The sheets are children of the tab control, so it must not paint over them.
    CreateHandle(WC_TABCONTROLA, "", WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                 bounds);
}

Rect PageControl::InsertTab(const std::string& caption)
{
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    if (SendMessageA(Handle(), TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&item)) < 0)
        throw Win32Error("TCM_INSERTITEM");
    // With its first tab the control has its tab row, and so its display area.
    return DisplayArea();
}

void PageControl::AddPage(TabSheet* page)
{
    pages_.push_back(page);
    if (!shown_)
        shown_ = page; // the first tab is the selected one
}

int PageControl::ActivePageIndex() const
{
    return static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
}

void PageControl::SetActivePageIndex(int index)
{
    if (index < 0 || index >= PageCount())
        return;
    SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowActivePage();
}

void PageControl::SetBounds(Rect bounds)
{
    WinControl::SetBounds(bounds);
    Rect area = DisplayArea();
    for (TabSheet* page : pages_)
        page->WinControl::SetBounds(area);
}

LRESULT PageControl::Notify(NMHDR& header)
{
    if (header.code == TCN_SELCHANGE)
        ShowActivePage();
    return 0;
}

Rect PageControl::DisplayArea() const
{
    RECT r{};
    GetClientRect(Handle(), &r);
    SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void PageControl::ShowActivePage()
{
    const int index = ActivePageIndex();
    TabSheet* active = index >= 0 && index < PageCount() ? Page(index) : nullptr;
    if (active == shown_)
        return;
    if (shown_)
        shown_->SetVisible(false);
    if (active)
        active->SetVisible(true);
    shown_ = active;
}

} // namespace tk
