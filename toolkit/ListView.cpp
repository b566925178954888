#include "toolkit/ListView.h"

#include "toolkit/Win32Error.h"

namespace tk {

ListView::ListView(Component* owner, WinControl* parent, Rect bounds, bool ownerData, Selection selection)
    : WinControl(owner, parent)
{
    CreateHandle(WC_LISTVIEWA, "",
                 WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                     (selection == Selection::OneRow ? LVS_SINGLESEL : 0) | (ownerData ? LVS_OWNERDATA : 0),
                 WS_EX_CLIENTEDGE, bounds);
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

void ListView::AddColumn(const std::string& caption, int width, Alignment alignment)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    column.fmt = alignment == Alignment::Center ? LVCFMT_CENTER : alignment == Alignment::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.pszText = const_cast<char*>(caption.c_str());
    designWidths_.push_back(width);
    column.cx = ScaledColumnWidth(columns_);
    column.iSubItem = columns_;
    if (SendMessageA(Handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(columns_), reinterpret_cast<LPARAM>(&column)) < 0)
        throw Win32Error("LVM_INSERTCOLUMN");
    ++columns_;
}

int ListView::ScaledColumnWidth(int index) const
{
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += designWidths_[static_cast<std::size_t>(i)];
    const Scale s = Scaling();
    return s(left + designWidths_[static_cast<std::size_t>(index)]) - s(left);
}

void ListView::ApplyScale()
{
    WinControl::ApplyScale();
    for (int i = 0; i < columns_; ++i)
        SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), ScaledColumnWidth(i));
}

int ListView::AddRow(const std::vector<std::string>& cells)
{
    return InsertRow(RowCount(), cells);
}

int ListView::InsertRow(int index, const std::vector<std::string>& cells)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
    int row = static_cast<int>(SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        throw Win32Error("LVM_INSERTITEM");
    for (int c = 1; c < static_cast<int>(cells.size()) && c < columns_; ++c)
        SetCell(row, c, cells[static_cast<std::size_t>(c)]);
    return row;
}

void ListView::SetCell(int row, int column, const std::string& text)
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListView::Cell(int row, int column) const
{
    char buffer[1024] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void ListView::Clear()
{
    if (GetWindowLongA(Handle(), GWL_STYLE) & LVS_OWNERDATA)
        SetRowCount(0);
    else
        SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

void ListView::SetRowCount(int rows)
{
    // Out of sight the list only counts: each new count would otherwise lay
    // out its scroll bars and header again and invalidate every row. It
    // catches up once a window it lies in is shown.
    if (!frozen_ && !IsWindowVisible(Handle())) {
        SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
        frozen_ = true;
        AwaitAncestorShown();
    }
    // Repaints the whole list: with owner data a row added at the top moves every row.
    SendMessageA(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
}

void ListView::AncestorShown()
{
    if (!frozen_)
        return;
    frozen_ = false;
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
}

LRESULT ListView::Notify(NMHDR& header)
{
    if (!source_ || (header.code != LVN_GETDISPINFOA && header.code != LVN_GETDISPINFOW))
        return 0;
    // Both layouts share the item's mask, row, column, buffer and its size.
    auto& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0)
        return 0;
    const std::string text = source_(item.iItem, item.iSubItem);
    if (header.code == LVN_GETDISPINFOA)
        lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
    else if (!MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, reinterpret_cast<LPWSTR>(item.pszText), item.cchTextMax))
        reinterpret_cast<LPWSTR>(item.pszText)[item.cchTextMax - 1] = 0;
    return 0;
}

int ListView::RowCount() const
{
    return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

} // namespace tk
