#include "toolkit/CustomControl.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "toolkit/GraphicControl.h"
#include "toolkit/DriverProtocol.h"
#include "toolkit/Guarded.h"
#include "toolkit/LocaleText.h"
#include "toolkit/SystemColors.h"
#include "toolkit/Win32Error.h"

namespace tk {

namespace {
// Registered on the first registered message that arrives: a program that
// no driver asks never registers it.
bool IsNameQuery(UINT message)
{
    if (message < 0xC000)
        return false;
    static const UINT nameQuery = RegisterWindowMessageA(kNameQueryMessage);
    return message == nameQuery;
}

BOOL CALLBACK TellSystemColorsChanged(HWND child, LPARAM)
{
    SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

Point PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
} // namespace

CustomControl::CustomControl(Component* owner, WinControl* parent)
    : WinControl(owner, parent), color_(GetSysColor(COLOR_BTNFACE)), colorBrush_(CreateSolidBrush(color_)),
      cursor_(SystemCursor(IDC_ARROW))
{
    MarkAllDirty();
}

CustomControl::~CustomControl()
{
    // Here, not in ~WinControl: the window's last messages must still find a CustomControl.
    DestroyOwned();
    if (Handle())
        DestroyWindow(Handle());
}

void CustomControl::CreateCustom(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                                 Rect b, HWND parent)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, className, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = StaticWindowProc;
        wc.hInstance = instance;
        wc.hCursor = nullptr; // WM_SETCURSOR decides
        // Only windows with a frame show an icon: child and message-only
        // classes do without, which spares loading it at start-up.
        if (!(style & WS_CHILD) && parent != HWND_MESSAGE) {
            wc.hIcon = LoadIconA(instance, "MAINICON");
            if (!wc.hIcon)
                wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        }
        wc.lpszClassName = className;
        if (!RegisterClassExA(&wc))
            throw Win32Error("RegisterClassEx");
    }
    // An error of the window's own creation messages fails this construction;
    // a failed WM_CREATE has already destroyed the window again.
    HandlerErrorScope scope;
    // Child windows get an id, and are control parents so Tab walks into them.
    HMENU id = nullptr;
    if (style & WS_CHILD) {
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ReserveId()));
        exStyle |= WS_EX_CONTROLPARENT;
    }
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), style, b.left, b.top, b.width, b.height, parent,
                                  id, instance, this);
    scope.RethrowIfFailed();
    if (!window)
        throw Win32Error("CreateWindowEx");
}

LRESULT CALLBACK CustomControl::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The object is found through the process's handle map, not a slot in
    // the window: setting a slot is a server call per window under Wine.
    CustomControl* self;
    if (message == WM_NCCREATE) {
        self = static_cast<CustomControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->Attach(window);
    } else {
        self = static_cast<CustomControl*>(FromHandle(window));
    }
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    if (!self->mouseTips_.empty() && (message == WM_MOUSEMOVE || (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONUP)))
        self->RelayMouse(message, wParam, lParam);
    LRESULT result = 0;
    if (!Guarded([&] { result = self->WindowProc(message, wParam, lParam); }) && message == WM_CREATE)
        result = -1; // WM_NCCREATE fails with the 0 already in place
    if (message == WM_NCDESTROY)
        self->Detach();
    return result;
}

void CustomControl::RelayMouseTo(HWND tip)
{
    mouseTips_.push_back(tip);
}

void CustomControl::RelayMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    const DWORD at = GetMessagePos();
    MSG msg{Handle(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
            {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))}};
    for (HWND tip : mouseTips_)
        if (FromHandle(tip)) // a tip destroyed before this window is skipped
            SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

LRESULT CustomControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(Handle(), message, wParam, lParam);
}

LRESULT CustomControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT reflected = 0;
    if (ReflectNotification(message, wParam, lParam, reflected))
        return reflected;
    if (DispatchMouse(message, wParam, lParam))
        return 0;
    if (IsNameQuery(message))
        return AnswerNameQuery(reinterpret_cast<HWND>(wParam));
    if (LRESULT answer = 0; AccessibilityMessage(message, wParam, lParam, answer))
        return answer;
    switch (message) {
    case WM_SIZE:
        Resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && !lParam) // by ShowWindow, not by an owner's minimize or restore
            TellShownInside(this);
        break;
    case WM_CAPTURECHANGED:
        pressed_ = nullptr;
        OnCaptureChanged();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
        break;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<unsigned>(wParam), static_cast<unsigned>(lParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<unsigned>(wParam), static_cast<unsigned>(lParam));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_COPYDATA:
        if (auto* request = reinterpret_cast<const COPYDATASTRUCT*>(lParam); request && request->dwData == kGraphicQueryTag)
            return AnswerGraphicQuery(reinterpret_cast<HWND>(wParam), *request);
        break;
    case WM_SETTINGCHANGE:
        ForgetLocaleTexts();
        MarkAllDirty();
        if (wParam == SPI_SETHIGHCONTRAST)
            SystemColorsChanged();
        break;
    case WM_SYSCOLORCHANGE:
        SystemColorsChanged();
        break;
    case WM_THEMECHANGED:
        MarkAllDirty();
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

bool CustomControl::DispatchMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    const Point p = PointOf(lParam);
    const auto keys = static_cast<unsigned>(wParam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnMouseDown(MouseButton::Left, p, keys);
        return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        OnMouseDown(MouseButton::Right, p, keys);
        return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        OnMouseDown(MouseButton::Middle, p, keys);
        return true;
    case WM_LBUTTONUP:
        OnMouseUp(MouseButton::Left, p, keys);
        return true;
    case WM_RBUTTONUP:
        OnMouseUp(MouseButton::Right, p, keys);
        return false; // DefWindowProc turns it into WM_CONTEXTMENU
    case WM_MBUTTONUP:
        OnMouseUp(MouseButton::Middle, p, keys);
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(p, keys);
        return true;
    }
    return false;
}

void CustomControl::AddGraphic(GraphicControl* control)
{
    graphics_.Add(control);
}

void CustomControl::RemoveGraphic(GraphicControl* control)
{
    graphics_.Remove(control);
    if (pressed_ == control)
        pressed_ = nullptr;
    for (auto* list : {&readingOrder_, &changed_})
        list->erase(std::remove(list->begin(), list->end(), control), list->end());
}

void CustomControl::SystemColorsChanged()
{
    ForgetHighContrast();
    MarkAllDirty();
    if (Parent())
        return;
    EnumChildWindows(Handle(), TellSystemColorsChanged, 0);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CustomControl::SetColor(COLORREF color)
{
    colorSet_ = true;
    color_ = color;
    colorBrush_.Reset(CreateSolidBrush(color));
    Invalidate();
}

void CustomControl::MarkAllDirty()
{
    dirty_ = {-32768, -32768, 32767, 32767};
}

// A window that is not on screen has nothing to repaint: showing it paints
// it whole. Skipping it spares a server call per change while a hidden
// window is being built.
void CustomControl::Invalidate()
{
    MarkAllDirty();
    // Several changes before the next paint ask the server only once.
    if (wholeInvalidated_)
        return;
    if (Handle() && IsWindowVisible(Handle())) {
        InvalidateRect(Handle(), nullptr, FALSE);
        wholeInvalidated_ = true;
    }
}

void CustomControl::Invalidate(const Rect& area)
{
    RECT r{area.left, area.top, area.Right(), area.Bottom()};
    UnionRect(&dirty_, &dirty_, &r);
    if (!wholeInvalidated_ && Handle() && IsWindowVisible(Handle()))
        InvalidateRect(Handle(), &r, FALSE);
}

bool CustomControl::TakeNeedsDraw()
{
    const bool any = !IsRectEmpty(&dirty_);
    dirty_ = {};
    return any;
}

void CustomControl::PaintTo(HDC dc)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    // In high contrast a surface given a colour of its own is a window's
    // (the About page's white), any other a dialog's.
    const bool system = UsesSystemColors(*this);
    FillRect(dc, &client, system ? GetSysColorBrush(colorSet_ ? COLOR_WINDOW : COLOR_BTNFACE) : colorBrush_.Get());
    // Controls wholly outside the DC's clipping are skipped: a label's
    // change redraws that label's area, not every picture of the window.
    RECT clip{};
    const bool clipped = GetClipBox(dc, &clip) != ERROR;
    for (GraphicControl* g : graphics_.BackToFront()) {
        if (!g->Visible())
            continue;
        Rect b = g->Bounds();
        const RECT bounds{b.left, b.top, b.Right(), b.Bottom()};
        RECT common;
        if (clipped && !IntersectRect(&common, &bounds, &clip))
            continue;
        SavedDC saved(dc);
        IntersectClipRect(dc, b.left, b.top, b.Right(), b.Bottom());
        g->Paint(dc);
    }
}

void CustomControl::Resize(int cx, int cy)
{
    // Dropped here and made again at the new size by the next paint, so a
    // drag through many sizes builds only the ones that are shown.
    buffer_.Reset();
    bufferBitmap_.Reset();
    MarkAllDirty();
    OnSize(cx, cy);
}

void CustomControl::Paint()
{
    wholeInvalidated_ = false;
    PaintDC paint(Handle());
    OnPaint(paint.Get(), paint.Area());
}

void CustomControl::OnPaint(HDC dc, const RECT& area)
{
    if (!buffer_) {
        RECT client{};
        GetClientRect(Handle(), &client);
        buffer_.Reset(CreateCompatibleDC(dc));
        bufferBitmap_.Reset(CreateCompatibleBitmap(dc, client.right, client.bottom));
        if (!buffer_ || !bufferBitmap_) {
            buffer_.Reset();
            PaintTo(dc);
            return;
        }
        SelectObject(buffer_.Get(), bufferBitmap_.Get());
        MarkAllDirty();
    }
    const RECT dirty = dirty_;
    if (TakeNeedsDraw()) {
        SavedDC saved(buffer_.Get());
        IntersectClipRect(buffer_.Get(), dirty.left, dirty.top, dirty.right, dirty.bottom);
        PaintTo(buffer_.Get());
    }
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer_.Get(), area.left,
           area.top, SRCCOPY);
}

bool CustomControl::OnEraseBkgnd(HDC dc)
{
    (void)dc;
    return true;
}

void CustomControl::OnSize(int cx, int cy)
{
    (void)cx;
    (void)cy;
}

void CustomControl::OnMouseMove(Point p, unsigned keys)
{
    (void)p;
    (void)keys;
}

void CustomControl::OnCaptureChanged() {}

void CustomControl::OnCommand(int id, unsigned code)
{
    (void)id;
    (void)code;
}

void CustomControl::OnTimer(UINT_PTR id)
{
    (void)id;
}

void CustomControl::OnKeyDown(unsigned vk, unsigned flags)
{
    (void)vk;
    (void)flags;
}

void CustomControl::OnChar(unsigned ch, unsigned flags)
{
    (void)ch;
    (void)flags;
}

void CustomControl::OnSetFocus(HWND previous)
{
    (void)previous;
}

void CustomControl::OnKillFocus(HWND next)
{
    (void)next;
}

void CustomControl::MouseDown(MouseButton button, Point p, unsigned keys)
{
    (void)button;
    (void)p;
    (void)keys;
}

void CustomControl::OnMouseDown(MouseButton button, Point p, unsigned keys)
{
    GraphicControl* target = graphics_.At(p);
    if (!target) {
        MouseDown(button, p, keys);
        return;
    }
    if (button == MouseButton::Left) {
        // Captured so the release is seen even outside the window; the
        // control's own handler may still take the capture away.
        SetCapture(Handle());
        pressed_ = target;
    }
    target->MouseDown(button, p, keys);
}

void CustomControl::OnMouseUp(MouseButton button, Point p, unsigned keys)
{
    GraphicControl* target = pressed_;
    if (button != MouseButton::Left || !target)
        return;
    pressed_ = nullptr;
    ReleaseCapture();
    target->MouseUp(button, p, keys);
    // A click is a press and a release on the same control, with nothing in front of it.
    if (graphics_.At(p) == target)
        target->Click();
}

HCURSOR CustomControl::CursorAt(Point p) const
{
    GraphicControl* target = graphics_.At(p);
    return target && target->Cursor() ? target->Cursor() : cursor_;
}

bool CustomControl::OnSetCursor(HWND window, UINT hitTest)
{
    // Children ask their parent first, so this covers standard controls too.
    if (TheApplication && TheApplication->ScreenCursor() && hitTest == HTCLIENT) {
        ::SetCursor(TheApplication->ScreenCursor());
        return true;
    }
    if (window != Handle() || hitTest != HTCLIENT)
        return false;
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(Handle(), &p);
    ::SetCursor(CursorAt({p.x, p.y}));
    return true;
}

LRESULT CustomControl::AnswerGraphicQuery(HWND asker, const COPYDATASTRUCT& request)
{
    // The answer goes back as a copy to the asking window: nothing is
    // written anywhere another process names.
    std::optional<std::string> name = GraphicQueryName(request.lpData, request.cbData);
    if (!name || !IsWindow(asker))
        return 0;
    for (GraphicControl* g : graphics_.BackToFront()) {
        if (g->Name() != *name)
            continue;
        GraphicQuery answer{};
        std::memcpy(answer.name, name->data(), name->size());
        Rect b = g->Bounds();
        FillGraphicQuery(answer, b.left, b.top, b.width, b.height, g->Visible(), g->Enabled(), g->Caption());
        COPYDATASTRUCT reply{kGraphicQueryTag, sizeof answer, &answer};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(asker, WM_COPYDATA, reinterpret_cast<WPARAM>(Handle()), reinterpret_cast<LPARAM>(&reply),
                            SMTO_ABORTIFHUNG, 2000, &ignored);
        return 1;
    }
    return 0;
}

} // namespace tk
