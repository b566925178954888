// PageControl: a standard tab control whose tabs each show one TabSheet, a
// panel filling the tab control's display area. Selecting a tab, by the
// user or by SetActivePageIndex, shows its sheet and hides the one shown
// before. A sheet is made in its place, visible only as the first one.
// GUI thread only.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Panel.h"

namespace tk {

class PageControl;

class TabSheet : public Panel {
public:
    // Adds a tab at the end of the page control's tabs.
    TabSheet(Component* owner, PageControl* pageControl, const std::string& caption);
};

class PageControl : public WinControl {
public:
    PageControl(Component* owner, WinControl* parent, Rect bounds);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet* Page(int index) const { return pages_[static_cast<std::size_t>(index)]; }
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // Moves and sizes the control, the sheets following its display area.
    void SetBounds(Rect bounds);

    LRESULT Notify(NMHDR& header) override;

private:
    friend class TabSheet;
    // Adds the tab; gives the display area for its sheet.
    Rect InsertTab(const std::string& caption);
    void AddPage(TabSheet* page);
    Rect DisplayArea() const;
    void ShowActivePage();

    std::vector<TabSheet*> pages_;
    TabSheet* shown_ = nullptr;
};

} // namespace tk
