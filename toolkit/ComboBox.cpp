#include "toolkit/ComboBox.h"

#include "toolkit/Win32Error.h"

namespace tk {

namespace {
// Counts the program's own changes, so their notifications are not the user's.
class ProgramChange {
public:
    explicit ProgramChange(int& depth) : depth_(depth) { ++depth_; }
    ~ProgramChange() { --depth_; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

private:
    int& depth_;
};
} // namespace

void SetClosedHeight(HWND combo, int height)
{
    RECT r{};
    GetWindowRect(combo, &r);
    const auto field = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (field > 0 && r.bottom - r.top != height)
        SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + height - (r.bottom - r.top));
}

ComboBox::ComboBox(Component* owner, WinControl* parent, Rect b, int dropDownHeight)
    : WinControl(owner, parent), closed_(b)
{
    CreateHandle("COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
                 {b.left, b.top, b.width, b.height + dropDownHeight});
    FitClosedHeight();
}

void ComboBox::ApplyScale()
{
    WinControl::ApplyScale();
    FitClosedHeight();
}

// At 96 dpi the system's own height is the design height.
void ComboBox::FitClosedHeight()
{
    if (!Scaling().IsIdentity())
        SetClosedHeight(Handle(), Scaling()(closed_).height);
}

void ComboBox::SetItems(std::vector<std::string> items)
{
    ProgramChange change(programChanges_);
    // One redraw and one allocation instead of one per item.
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (const std::string& item : items)
        bytes += item.size() + 1;
    SendMessageA(Handle(), CB_INITSTORAGE, items.size(), bytes);
    for (const std::string& item : items)
        SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    if (IsWindowVisible(Handle())) // else drawn whole when shown
        InvalidateRect(Handle(), nullptr, TRUE);
    items_ = std::move(items);
}

void ComboBox::InsertItem(int index, const std::string& text)
{
    ProgramChange change(programChanges_);
    if (SendMessageA(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())) <
        0)
        throw Win32Error("CB_INSERTSTRING");
    items_.insert(items_.begin() + index, text);
}

void ComboBox::DeleteItem(int index)
{
    ProgramChange change(programChanges_);
    SendMessageA(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    items_.erase(items_.begin() + index);
}

int ComboBox::ItemIndex() const
{
    return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index)
{
    ProgramChange change(programChanges_);
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ComboBox::SetText(const std::string& text)
{
    ProgramChange change(programChanges_);
    WinControl::SetText(text);
}

void ComboBox::Command(unsigned code)
{
    if (programChanges_ > 0)
        return;
    if (code == CBN_SELCHANGE) {
        // The edit part still shows the old text when this arrives.
        int index = ItemIndex();
        if (index >= 0 && index < static_cast<int>(items_.size()))
            SetText(items_[static_cast<std::size_t>(index)]);
        Changed();
    } else if (code == CBN_EDITCHANGE) {
        Changed();
    }
}

void ComboBox::Changed()
{
    if (OnChange)
        OnChange(this);
}

} // namespace tk
