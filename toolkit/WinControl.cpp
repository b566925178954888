#include "toolkit/WinControl.h"

#include <stdexcept>

#include "toolkit/Win32Error.h"

namespace tk {

namespace {
// Window properties rather than GWLP_USERDATA: a property cannot be mistaken
// for someone else's data, and survives a subclassed control.
constexpr const char* kSelfProp = "tk.WinControl";
constexpr const char* kNameProp = "tk.Name";
int nextControlId = 1000;
} // namespace

WinControl::WinControl(Component* owner, WinControl* parent) : Component(owner), parent_(parent) {}

WinControl::~WinControl()
{
    DestroyOwned();
    if (handle_ && GetPropA(handle_, kSelfProp) == this)
        DestroyWindow(handle_);
    if (handle_)
        Detach();
}

WinControl* WinControl::FromHandle(HWND window)
{
    return window ? static_cast<WinControl*>(GetPropA(window, kSelfProp)) : nullptr;
}

void WinControl::SetName(std::string name)
{
    Component::SetName(std::move(name));
    PublishName();
}

void WinControl::PublishName()
{
    if (!handle_)
        return;
    if (nameAtom_)
        GlobalDeleteAtom(nameAtom_);
    nameAtom_ = Name().empty() ? 0 : GlobalAddAtomA(Name().c_str());
    if (nameAtom_)
        SetPropA(handle_, kNameProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
    else
        RemovePropA(handle_, kNameProp);
}

std::string WinControl::Text() const
{
    if (!handle_)
        return {};
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(handle_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(handle_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void WinControl::SetText(const std::string& text)
{
    SetWindowTextA(handle_, text.c_str());
}

Rect WinControl::Bounds() const
{
    RECT r{};
    GetWindowRect(handle_, &r);
    if (HWND parent = GetAncestor(handle_, GA_PARENT); parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void WinControl::SetBounds(Rect b)
{
    SetWindowPos(handle_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::SetVisible(bool visible)
{
    ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void WinControl::SetEnabled(bool enabled)
{
    EnableWindow(handle_, enabled);
}

void WinControl::SetFocus()
{
    ::SetFocus(handle_);
}

void WinControl::SetFont(HFONT font)
{
    font_ = font;
    if (handle_)
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void WinControl::CreateHandle(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                              Rect b)
{
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, b.left, b.top, b.width,
                                  b.height, ParentHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextControlId++)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw Win32Error("CreateWindowEx");
    Attach(window);
    if (parent_ && parent_->GetFont())
        SetFont(parent_->GetFont());
}

void WinControl::Attach(HWND window)
{
    handle_ = window;
    SetPropA(window, kSelfProp, this);
    PublishName();
}

void WinControl::Detach()
{
    RemovePropA(handle_, kSelfProp);
    RemovePropA(handle_, kNameProp);
    if (nameAtom_)
        GlobalDeleteAtom(nameAtom_);
    nameAtom_ = 0;
    handle_ = nullptr;
}

void WinControl::DestroyOwned()
{
    // Newest first; each one unlinks itself from the list as it goes.
    while (!Owned().empty())
        delete Owned().back();
}

} // namespace tk
