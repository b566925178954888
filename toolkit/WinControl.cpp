#include "toolkit/WinControl.h"

#include <stdexcept>
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "toolkit/Guarded.h"
#include "toolkit/Win32Error.h"

namespace tk {

namespace {
// Ids stay below 0x8000 so WM_COMMAND's 16-bit id and GetDlgCtrlID agree.
constexpr int kFirstId = 1000;
constexpr int kLastId = 0x7FFF;
int nextControlId = kFirstId;

std::unordered_map<int, WinControl*>& ControlsById()
{
    static std::unordered_map<int, WinControl*> controls;
    return controls;
}

// Kept in the process rather than as window properties (under Wine each
// property call is a server call), and never mistaken for another's data.
std::unordered_map<HWND, WinControl*>& ControlsByHandle()
{
    static std::unordered_map<HWND, WinControl*> controls;
    return controls;
}

// The controls waiting for a window they lie in to be shown.
std::vector<WinControl*>& AwaitingShow()
{
    static std::vector<WinControl*> controls;
    return controls;
}

bool LiesIn(const WinControl* control, const WinControl* ancestor)
{
    for (const WinControl* p = control->Parent(); p; p = p->Parent())
        if (p == ancestor)
            return true;
    return false;
}

// A subclassed window's procedure from before, by window: found even when
// its control has already let go of the handle.
struct OriginalProc {
    WNDPROC proc;
    bool unicode;
};
std::unordered_map<HWND, OriginalProc>& OriginalProcs()
{
    static std::unordered_map<HWND, OriginalProc> procs;
    return procs;
}

LRESULT CallOriginalProc(const OriginalProc& original, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return original.unicode ? CallWindowProcW(original.proc, window, message, wParam, lParam)
                            : CallWindowProcA(original.proc, window, message, wParam, lParam);
}

// Puts the original procedure back if ours is still the window's.
void Unsubclass(HWND window, WNDPROC ours)
{
    auto found = OriginalProcs().find(window);
    if (found == OriginalProcs().end())
        return;
    const OriginalProc original = found->second;
    OriginalProcs().erase(found);
    if (original.unicode ? reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == ours
                         : reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == ours) {
        if (original.unicode)
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original.proc));
        else
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original.proc));
    }
}

// The control a notification names: by window, or by id while its window is
// still being created (and so not attached yet).
WinControl* Target(HWND window, int id)
{
    if (WinControl* control = WinControl::FromHandle(window))
        return control;
    WinControl* control = WinControl::FromId(id);
    return control && (!control->Handle() || control->Handle() == window) ? control : nullptr;
}

bool IsCtlColor(UINT message)
{
    return message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN ||
           message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORSCROLLBAR;
}
} // namespace

WinControl::WinControl(Component* owner, WinControl* parent) : Component(owner), parent_(parent) {}

WinControl::~WinControl()
{
    DestroyOwned();
    if (handle_ && FromHandle(handle_) == this)
        DestroyWindow(handle_);
    if (handle_ && subclassed_)
        Unsubclass(handle_, SubclassThunk);
    if (handle_)
        Detach();
    if (id_ && FromId(id_) == this)
        ControlsById().erase(id_);
    std::erase(AwaitingShow(), this);
}

WinControl* WinControl::FromHandle(HWND window)
{
    auto found = ControlsByHandle().find(window);
    return found == ControlsByHandle().end() ? nullptr : found->second;
}

WinControl* WinControl::FromId(int id)
{
    auto found = ControlsById().find(id);
    return found == ControlsById().end() ? nullptr : found->second;
}

void WinControl::AwaitAncestorShown()
{
    auto& awaiting = AwaitingShow();
    if (std::find(awaiting.begin(), awaiting.end(), this) == awaiting.end())
        awaiting.push_back(this);
}

void WinControl::TellShownInside(const WinControl* shown)
{
    auto& awaiting = AwaitingShow();
    std::vector<WinControl*> told;
    for (WinControl* control : awaiting)
        if (LiesIn(control, shown))
            told.push_back(control);
    // Off the list before being told, so a control may ask again at once.
    for (WinControl* control : told)
        std::erase(awaiting, control);
    for (WinControl* control : told)
        control->AncestorShown();
}

int WinControl::ReserveId()
{
    if (id_)
        return id_;
    auto& controls = ControlsById();
    for (int tries = kLastId - kFirstId + 1; tries > 0; --tries) {
        int id = nextControlId;
        nextControlId = id == kLastId ? kFirstId : id + 1;
        if (controls.emplace(id, this).second)
            return id_ = id;
    }
    throw std::runtime_error("No free control id");
}

bool WinControl::ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND && lParam) { // without a window: a menu or an accelerator
        WinControl* control = Target(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        if (control)
            control->Command(HIWORD(wParam));
        result = 0;
        return control != nullptr;
    }
    if (!lParam) // the rest name their control through lParam; without one they are not ours to reflect
        return false;
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        WinControl* control = Target(header->hwndFrom, static_cast<int>(header->idFrom));
        if (control)
            result = control->Notify(*header);
        return control != nullptr;
    }
    if (message == WM_DRAWITEM && wParam) { // 0: a menu item
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        WinControl* control = Target(item->hwndItem, static_cast<int>(item->CtlID));
        result = TRUE;
        return control && control->DrawItem(*item);
    }
    if (message == WM_MEASUREITEM && wParam) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        WinControl* control = FromId(static_cast<int>(item->CtlID));
        result = TRUE;
        return control && control->MeasureItem(*item);
    }
    if (IsCtlColor(message)) {
        WinControl* control = FromHandle(reinterpret_cast<HWND>(lParam));
        HBRUSH brush = control ? control->CtlColor(reinterpret_cast<HDC>(wParam)) : nullptr;
        result = reinterpret_cast<LRESULT>(brush);
        return brush != nullptr;
    }
    if (message == WM_HSCROLL || message == WM_VSCROLL) {
        WinControl* control = FromHandle(reinterpret_cast<HWND>(lParam));
        if (control)
            control->Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        result = 0;
        return control != nullptr;
    }
    return false;
}

void WinControl::SubclassWindow()
{
    if (subclassed_ || !handle_)
        return;
    // Our procedure in front of the window's own, rather than the common
    // controls' subclass chain: under Wine that asks the server for a window
    // property on every message. The window keeps its character set, so
    // SubclassProc sees its messages in the window's own form.
    const bool unicode = IsWindowUnicode(handle_) != FALSE;
    const LONG_PTR ours = reinterpret_cast<LONG_PTR>(SubclassThunk);
    SetLastError(0);
    const LONG_PTR before = unicode ? SetWindowLongPtrW(handle_, GWLP_WNDPROC, ours)
                                    : SetWindowLongPtrA(handle_, GWLP_WNDPROC, ours);
    if (!before && GetLastError())
        throw Win32Error("SetWindowLongPtr");
    OriginalProcs()[handle_] = {reinterpret_cast<WNDPROC>(before), unicode};
    subclassed_ = true;
}

LRESULT CALLBACK WinControl::SubclassThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = OriginalProcs().find(window);
    if (found == OriginalProcs().end()) // cannot happen while installed; never lose a message
        return DefWindowProcW(window, message, wParam, lParam);
    const OriginalProc original = found->second;
    WinControl* self = FromHandle(window);
    if (message == WM_NCDESTROY || !self || !self->subclassed_) {
        // The documented place to unhook; the original procedure still gets the message.
        if (message == WM_NCDESTROY) {
            Unsubclass(window, SubclassThunk);
            if (self) {
                self->subclassed_ = false;
                self->Detach();
            }
        }
        return CallOriginalProc(original, window, message, wParam, lParam);
    }
    LRESULT result = 0;
    Guarded([&] { result = self->SubclassProc(message, wParam, lParam); });
    return result;
}

LRESULT WinControl::SubclassProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectNotification(message, wParam, lParam, result))
        return result;
    return CallOriginal(message, wParam, lParam);
}

LRESULT WinControl::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = OriginalProcs().find(handle_);
    if (found == OriginalProcs().end())
        return DefWindowProcW(handle_, message, wParam, lParam);
    return CallOriginalProc(found->second, handle_, message, wParam, lParam);
}

LRESULT WinControl::AnswerNameQuery(HWND window)
{
    const WinControl* control = FromHandle(window);
    return control && !control->Name().empty() ? GlobalAddAtomA(control->Name().c_str()) : 0;
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
    // Reading the place stays in the process; a move is a server call even
    // when nothing moves.
    if (Bounds() == b)
        return;
    SetWindowPos(handle_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::ApplyScale()
{
    if (handle_ && parent_ && hasDesign_)
        SetBounds(Scaling()(design_));
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
                              Rect design)
{
    CreateHandle(className, text, style, exStyle, design, Scaling()(design));
}

void WinControl::CreateHandle(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                              Rect design, Rect b)
{
    ScaledDesign(design);
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, b.left, b.top, b.width,
                                  b.height, ParentHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ReserveId())),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw Win32Error("CreateWindowEx");
    Attach(window);
    // No redraw: a new window has not been painted yet, and is painted whole when first shown.
    if (parent_ && parent_->GetFont()) {
        font_ = parent_->GetFont();
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
}

void WinControl::Attach(HWND window)
{
    handle_ = window;
    ControlsByHandle()[window] = this;
}

void WinControl::Detach()
{
    if (FromHandle(handle_) == this)
        ControlsByHandle().erase(handle_);
    handle_ = nullptr;
}

void WinControl::DestroyOwned()
{
    // Newest first; each one unlinks itself from the list as it goes.
    while (!Owned().empty())
        delete Owned().back();
}

} // namespace tk
