#include "toolkit/CustomControl.h"

#include <windowsx.h>

#include "toolkit/GraphicControl.h"
#include "toolkit/GraphicQuery.h"
#include "toolkit/Guarded.h"
#include "toolkit/Win32Error.h"

namespace tk {

namespace {
Point PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
} // namespace

CustomControl::CustomControl(Component* owner, WinControl* parent)
    : WinControl(owner, parent), color_(GetSysColor(COLOR_BTNFACE)), colorBrush_(CreateSolidBrush(color_)),
      cursor_(LoadCursor(nullptr, IDC_ARROW))
{
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
        wc.hIcon = LoadIconA(instance, "MAINICON");
        if (!wc.hIcon)
            wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        wc.lpszClassName = className;
        if (!RegisterClassExA(&wc))
            throw Win32Error("RegisterClassEx");
    }
    // An error of the window's own creation messages fails this construction;
    // a failed WM_CREATE has already destroyed the window again.
    HandlerErrorScope scope;
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), style, b.left, b.top, b.width, b.height, parent,
                                  nullptr, instance, this);
    scope.RethrowIfFailed();
    if (!window)
        throw Win32Error("CreateWindowEx");
}

LRESULT CALLBACK CustomControl::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CustomControl* self;
    if (message == WM_NCCREATE) {
        self = static_cast<CustomControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->Attach(window);
    } else {
        self = static_cast<CustomControl*>(FromHandle(window));
    }
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    if (!Guarded([&] { result = self->WindowProc(message, wParam, lParam); }) && message == WM_CREATE)
        result = -1; // WM_NCCREATE fails with the 0 already in place
    if (message == WM_NCDESTROY)
        self->Detach();
    return result;
}

LRESULT CustomControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(Handle(), message, wParam, lParam);
}

LRESULT CustomControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    static const UINT graphicQuery = RegisterWindowMessageA(kGraphicQueryMessage);
    if (graphicQuery && message == graphicQuery)
        return AnswerGraphicQuery(wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT paints everything through a back buffer
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(MouseButton::Left, lParam, wParam);
        return 0;
    case WM_RBUTTONDOWN:
        OnButtonDown(MouseButton::Right, lParam, wParam);
        return 0;
    case WM_MBUTTONDOWN:
        OnButtonDown(MouseButton::Middle, lParam, wParam);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(MouseButton::Left, lParam, wParam);
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = nullptr;
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
        break;
    case WM_COMMAND:
        return ReflectCommand(wParam, lParam);
    case WM_NOTIFY:
        return ReflectNotify(lParam);
    }
    return DefaultProc(message, wParam, lParam);
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
}

void CustomControl::SetColor(COLORREF color)
{
    color_ = color;
    colorBrush_.Reset(CreateSolidBrush(color));
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void CustomControl::PaintTo(HDC dc)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, colorBrush_.Get());
    for (GraphicControl* g : graphics_.BackToFront()) {
        if (!g->Visible())
            continue;
        Rect b = g->Bounds();
        SavedDC saved(dc);
        IntersectClipRect(dc, b.left, b.top, b.Right(), b.Bottom());
        g->Paint(dc);
    }
}

void CustomControl::OnPaint()
{
    PaintDC paint(Handle());
    RECT client{};
    GetClientRect(Handle(), &client);
    // A back buffer, so the layers never flicker on screen.
    MemoryDC buffer(CreateCompatibleDC(paint.Get()));
    Bitmap bitmap(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    if (!buffer || !bitmap) {
        PaintTo(paint.Get());
        return;
    }
    SelectScope select(buffer.Get(), bitmap.Get());
    PaintTo(buffer.Get());
    const RECT& area = paint.Area();
    BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.Get(), area.left,
           area.top, SRCCOPY);
}

void CustomControl::MouseDown(MouseButton button, Point p, unsigned keys)
{
    (void)button;
    (void)p;
    (void)keys;
}

void CustomControl::OnButtonDown(MouseButton button, LPARAM lParam, WPARAM keys)
{
    Point p = PointOf(lParam);
    GraphicControl* target = graphics_.At(p);
    if (!target) {
        MouseDown(button, p, static_cast<unsigned>(keys));
        return;
    }
    if (button == MouseButton::Left) {
        // Captured so the release is seen even outside the window; the
        // control's own handler may still take the capture away.
        SetCapture(Handle());
        pressed_ = target;
    }
    target->MouseDown(button, p, static_cast<unsigned>(keys));
}

void CustomControl::OnButtonUp(MouseButton button, LPARAM lParam, WPARAM keys)
{
    GraphicControl* target = pressed_;
    if (!target)
        return;
    pressed_ = nullptr;
    ReleaseCapture();
    Point p = PointOf(lParam);
    target->MouseUp(button, p, static_cast<unsigned>(keys));
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

LRESULT CustomControl::ReflectCommand(WPARAM wParam, LPARAM lParam)
{
    if (WinControl* control = FromHandle(reinterpret_cast<HWND>(lParam)))
        control->Command(HIWORD(wParam));
    return 0;
}

LRESULT CustomControl::AnswerGraphicQuery(WPARAM size, LPARAM address)
{
    if (size != sizeof(GraphicQuery) || !address)
        return 0;
    auto& query = *reinterpret_cast<GraphicQuery*>(address);
    query.name[sizeof query.name - 1] = '\0';
    for (GraphicControl* g : graphics_.BackToFront()) {
        if (g->Name() != query.name)
            continue;
        Rect b = g->Bounds();
        FillGraphicQuery(query, b.left, b.top, b.width, b.height, g->Visible(), g->Enabled(), g->Caption());
        return 1;
    }
    return 0;
}

LRESULT CustomControl::ReflectNotify(LPARAM lParam)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (WinControl* control = FromHandle(header->hwndFrom))
        return control->Notify(*header);
    return 0;
}

} // namespace tk
