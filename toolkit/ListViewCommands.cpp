// The list view's row commands: multi-selection, Ctrl+A, Ctrl+C and the
// context menu. Kept apart from the list's columns and cells.
#include "toolkit/ListView.h"
#include "toolkit/ModalGate.h"

#include <utility>

namespace tk {

namespace {

bool KeyDown(int key)
{
    return GetKeyState(key) < 0;
}

int NextRow(HWND list, int after, UINT flags)
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(flags, 0)));
}

void SetRowState(HWND list, int row, UINT state, UINT mask)
{
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace

void ListView::EnableRowCommands(std::vector<MenuItem> menu, std::function<void()> copy)
{
    menu_ = std::move(menu);
    copy_ = std::move(copy);
    const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    if (style & LVS_SINGLESEL)
        SetWindowLongA(Handle(), GWL_STYLE, style & ~LVS_SINGLESEL);
    SubclassWindow();
}

std::vector<int> ListView::SelectedRows() const
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0)));
    for (int row = NextRow(Handle(), -1, LVNI_SELECTED); row >= 0; row = NextRow(Handle(), row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void ListView::SelectAll()
{
    SetRowState(Handle(), -1, LVIS_SELECTED, LVIS_SELECTED);
}

std::vector<std::string> ListView::Captions() const
{
    std::vector<std::string> captions;
    for (int c = 0; c < columns_; ++c) {
        char buffer[256] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = buffer;
        column.cchTextMax = sizeof buffer;
        SendMessageA(Handle(), LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        captions.emplace_back(buffer);
    }
    return captions;
}

std::string ListView::ShownCell(int row, int column) const
{
    return source_ ? source_(row, column) : Cell(row, column);
}

void ListView::SetRowCountAddedAtTop(int count, int rowCount)
{
    const HWND list = Handle();
    const int focus = NextRow(list, -1, LVNI_FOCUSED);
    const int mark = static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    const std::vector<int> selected = SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) ? SelectedRows() : std::vector<int>();
    SetRowCount(rowCount);
    if (focus < 0 && selected.empty())
        return;
    // The list knows rows only by index: move every mark down by hand. The
    // cost follows the selection, which is usually a few rows.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    if (focus >= 0 && focus + count < rowCount)
        SetRowState(list, focus + count, LVIS_FOCUSED, LVIS_FOCUSED);
    if (!selected.empty())
        SetRowState(list, -1, 0, LVIS_SELECTED);
    for (int row : selected)
        if (row + count < rowCount)
            SetRowState(list, row + count, LVIS_SELECTED, LVIS_SELECTED);
    if (mark >= 0)
        SendMessageA(list, LVM_SETSELECTIONMARK, 0, mark + count < rowCount ? mark + count : -1);
    if (frozen_) // out of sight: it catches up when shown
        return;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
}

void ListView::ShowMenu(POINT screen)
{
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the focused row when it is in sight, else at the list's corner.
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        const int focus = NextRow(Handle(), -1, LVNI_FOCUSED);
        RECT client{};
        GetClientRect(Handle(), &client);
        POINT at{client.left + 8, client.top + 8};
        if (focus >= 0 && SendMessageA(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(focus), reinterpret_cast<LPARAM>(&row)) &&
            row.top >= client.top && row.bottom <= client.bottom)
            at = {row.left + 8, row.bottom};
        ClientToScreen(Handle(), &at);
        screen = at;
    }
    HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < menu_.size(); ++i)
        AppendMenuW(menu, MF_STRING, i + 1, menu_[i].Caption.c_str());
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, Handle(), nullptr));
    DestroyMenu(menu);
    if (chosen == 0 || chosen > menu_.size())
        return;
    menu_[chosen - 1].Action();
    // A dialog the command opened gives the focus back to the window, not to the list.
    if (GetFocus() == GetAncestor(Handle(), GA_ROOT))
        ::SetFocus(Handle());
}

// True for the keys the row commands take; they never reach the list.
bool ListView::RowCommandKey(UINT message, WPARAM key)
{
    const bool control = KeyDown(VK_CONTROL) && !KeyDown(VK_MENU);
    if (message == WM_CHAR)
        return key == 1 || key == 3; // Ctrl+A and Ctrl+C as characters: no type-ahead search
    if (key == VK_APPS || key == VK_F10) {
        // The menu opens when the key goes up: a menu open while the key is
        // still down would close again at its release.
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (down)
            menuKeyDown_ = key == VK_APPS || (KeyDown(VK_SHIFT) && !control);
        else if (std::exchange(menuKeyDown_, false))
            SendMessageA(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), -1);
        else
            return false;
        return down ? menuKeyDown_ : true;
    }
    if (!control || message != WM_KEYDOWN)
        return false;
    if (key == 'A')
        SelectAll();
    else if (key == 'C' && copy_)
        copy_();
    else
        return false;
    return true;
}

LRESULT ListView::SubclassProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        if (RowCommandKey(message, wParam))
            return 0;
        break;
    case WM_CONTEXTMENU: {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ModalGate::Open([this, at] { ShowMenu(at); });
        return 0;
    }
    }
    return WinControl::SubclassProc(message, wParam, lParam);
}

} // namespace tk
