#include "toolkit/Form.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Dpi.h"
#include "toolkit/Guarded.h"

namespace tk {

namespace {
constexpr DWORD kSizeableStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kBorderlessStyle = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;

DWORD StyleOf(BorderStyle style)
{
    return style == BorderStyle::None ? kBorderlessStyle : kSizeableStyle;
}

bool Usable(HWND window)
{
    return window && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

void CollectTabStops(HWND parent, std::vector<HWND>& stops)
{
    // Siblings run from the top of the z-order, where the first one created lies.
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED))
            continue;
        if (style & WS_TABSTOP)
            stops.push_back(child);
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            CollectTabStops(child, stops);
    }
}

// As a click would: BN_CLICKED to the button's parent, which reflects it.
void PressButton(HWND button)
{
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

DWORD ButtonType(HWND button)
{
    return static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)) & BS_TYPEMASK;
}

// An owner-drawn button (a picture button) keeps its type and draws the default look itself.
void SetButtonType(HWND button, DWORD type)
{
    if (ButtonType(button) != BS_PUSHBUTTON && ButtonType(button) != BS_DEFPUSHBUTTON)
        return;
    const auto style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
    SendMessageA(button, BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
}

// Push buttons answer WM_GETDLGCODE as such; owner-drawn ones only as buttons.
bool IsPushButton(HWND window, LRESULT dialogCode)
{
    if (dialogCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
        return true;
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return (dialogCode & DLGC_BUTTON) && lstrcmpiA(className, "Button") == 0 && ButtonType(window) == BS_OWNERDRAW;
}

// Not declared for the systems we build for.
constexpr UINT kWmDpiChanged = 0x02E0;

} // namespace

Form::Form(Component* owner, const char* className, SIZE clientSize)
    : CustomControl(owner, nullptr)
{
    HWND ownerWindow = TheApplication && TheApplication->MainForm() ? TheApplication->MainForm()->Handle() : nullptr;
    // Made at its size, for the DPI it will most likely have: sized
    // afterwards, a top-level window goes through the system's size
    // messages and monitor checks once more. Sized again if the guess
    // was wrong.
    const bool sized = clientSize.cx > 0 && clientSize.cy > 0;
    const Scale likely(sized ? WindowDpi(nullptr) : kDesignDpi);
    const Rect client = likely(Rect{0, 0, clientSize.cx, clientSize.cy});
    const SIZE outer = sized ? tk::OuterSize({client.width, client.height}, StyleOf(borderStyle_), 0, likely.Dpi())
                             : SIZE{320, 240};
    CreateCustom(className, "", StyleOf(borderStyle_), 0, {CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy},
                 ownerWindow);
    SetDpi(WindowDpi(Handle()));
    SetFont(ScaledFont("MS Sans Serif", 8));
    RECT made{};
    GetClientRect(Handle(), &made);
    if (sized && (Scaling() != likely || made.right != client.width || made.bottom != client.height))
        SetClientSize(clientSize.cx, clientSize.cy);
}

Form::~Form()
{
    DestroyOwned();
}

void Form::Free(Form* form)
{
    if (!form)
        return;
    form->DoDestroy();
    form->DestroyOwned();
    delete form;
}

void Form::DoCreate()
{
    Guarded([this] { FormCreate(); });
}

void Form::DoDestroy()
{
    Guarded([this] { FormDestroy(); });
}

void Form::SetBorderStyle(BorderStyle style)
{
    if (style == borderStyle_)
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    borderStyle_ = style;
    LONG keep = GetWindowLongA(Handle(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(StyleOf(style)) | keep);
    SetClientPixels(client.right, client.bottom);
}

void Form::SetClientSize(int width, int height)
{
    const Rect r = Scaling()(Rect{0, 0, width, height});
    SetClientPixels(r.width, r.height);
}

SIZE Form::OuterSize(int clientWidth, int clientHeight) const
{
    return tk::OuterSize({clientWidth, clientHeight}, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)), Scaling().Dpi());
}

SIZE Form::SizeableFrameSize(int dpi)
{
    return tk::OuterSize({0, 0}, kSizeableStyle, 0, dpi);
}

SIZE Form::FrameSize(int dpi) const
{
    return tk::OuterSize({0, 0}, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)), dpi);
}

void Form::SetClientPixels(int width, int height)
{
    const SIZE outer = OuterSize(width, height);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    // Not shown yet but to be centred: it goes there in the same move, and
    // the first show need not move it again.
    POINT at{};
    if (centerOnFirstShow_ && !shownBefore_ && !IsWindowVisible(Handle()))
        at = CentredOrigin(outer);
    else
        flags |= SWP_NOMOVE;
    SetWindowPos(Handle(), nullptr, at.x, at.y, outer.cx, outer.cy, flags);
    if (!(flags & SWP_NOMOVE))
        GetWindowRect(Handle(), &centredAt_);
}

POINT Form::CentredOrigin(SIZE outer)
{
    return {(GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2};
}


void Form::PlaceForFirstShow()
{
    if (shownBefore_)
        return;
    shownBefore_ = true;
    if (!centerOnFirstShow_)
        return;
    RECT r{};
    GetWindowRect(Handle(), &r);
    // Still where the last sizing centred it: asking the screen again (a
    // round of display checks each) would give the same place.
    if (!IsRectEmpty(&centredAt_) && EqualRect(&r, &centredAt_))
        return;
    const POINT at = CentredOrigin({r.right - r.left, r.bottom - r.top});
    if (at.x != r.left || at.y != r.top)
        SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show()
{
    PlaceForFirstShow();
    ShowWindow(Handle(), SW_SHOW);
}

void Form::ShowMaximized()
{
    PlaceForFirstShow();
    // Shown, then maximised before anything is painted: under Wine 10 a
    // borderless window whose first show is maximised leaves its thread's
    // message retrieval waiting for good.
    ShowWindow(Handle(), SW_SHOW);
    ShowWindow(Handle(), SW_MAXIMIZE);
}

void Form::ShowMinimizedNoActivate()
{
    PlaceForFirstShow();
    ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
}

void Form::Close()
{
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void Form::SetDefaultButton(Button* button)
{
    if (defaultButton_ && IsWindow(defaultButton_))
        SetButtonType(defaultButton_, BS_PUSHBUTTON);
    defaultButton_ = button ? button->Handle() : nullptr;
    if (defaultButton_)
        SetButtonType(defaultButton_, BS_DEFPUSHBUTTON);
}

std::vector<HWND> Form::TabStops() const
{
    std::vector<HWND> stops;
    CollectTabStops(Handle(), stops);
    return stops;
}

void Form::SetCancelButton(Button* button)
{
    cancelButton_ = button ? button->Handle() : nullptr;
}

bool Form::DialogKey(const MSG& message)
{
    const WPARAM key = message.wParam;
    HWND focus = message.hwnd;
    if (message.message != WM_KEYDOWN || (focus != Handle() && !IsChild(Handle(), focus)))
        return false;
    if (ShortcutKey(static_cast<unsigned>(key)))
        return true;
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && key != VK_SPACE)
        return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    if (focus == Handle() && GraphicKey(key, message.lParam))
        return true;
    if (key == VK_SPACE)
        return false;
    const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&message));
    if (code & DLGC_WANTMESSAGE) // e.g. a combo box with its list open
        return false;
    if (key == VK_ESCAPE) {
        if (!Usable(cancelButton_) || (code & DLGC_WANTALLKEYS))
            return false;
        PressButton(cancelButton_);
        return true;
    }
    if (key == VK_TAB) {
        if (code & DLGC_WANTTAB)
            return false;
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (code & DLGC_WANTALLKEYS)
        return false;
    HWND target = IsPushButton(focus, code) ? focus : defaultButton_;
    if (!Usable(target))
        return false;
    PressButton(target);
    return true;
}

void Form::MoveFocus(bool backwards)
{
    const std::vector<HWND> stops = TabStops();
    if (stops.empty())
        return;
    // The stop that is the focus, else the one that holds it (an editable
    // combo box focuses its own edit). The exact match comes first: a tab
    // strip is itself a stop and also the parent of its pages' controls.
    HWND focus = GetFocus();
    auto at = std::find(stops.begin(), stops.end(), focus);
    if (at == stops.end())
        at = std::find_if(stops.begin(), stops.end(), [focus](HWND w) { return IsChild(w, focus); });
    const auto n = static_cast<std::ptrdiff_t>(stops.size());
    std::ptrdiff_t i = at == stops.end() ? (backwards ? 0 : -1) : at - stops.begin();
    HWND next = stops[static_cast<std::size_t>(((backwards ? i - 1 : i + 1) % n + n) % n)];
    ::SetFocus(next);
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(next, EM_SETSEL, 0, -1);
}

void Form::OnClose()
{
    if (TheApplication && TheApplication->MainForm() == this)
        TheApplication->Terminate();
    else
        Hide();
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    FocusMessage(message, wParam, lParam);
    if (message == WM_CLOSE) {
        OnClose();
        return 0;
    }
    if (message == kWmDpiChanged) {
        // The suggested rectangle first: the form then lays itself out in it.
        const RECT& r = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ChangeDpi(LOWORD(wParam));
        return 0;
    }
    return CustomControl::WindowProc(message, wParam, lParam);
}

} // namespace tk
