#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Guarded.h"

namespace tk {

namespace {
constexpr DWORD kSizeableStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kBorderlessStyle = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;

DWORD StyleOf(BorderStyle style)
{
    return style == BorderStyle::None ? kBorderlessStyle : kSizeableStyle;
}
} // namespace

Form::Form(Component* owner, const char* className)
    : CustomControl(owner, nullptr), font_(CreateFontPt("MS Sans Serif", 8))
{
    HWND ownerWindow = TheApplication && TheApplication->MainForm() ? TheApplication->MainForm()->Handle() : nullptr;
    CreateCustom(className, "", StyleOf(borderStyle_), 0, {CW_USEDEFAULT, CW_USEDEFAULT, 320, 240}, ownerWindow);
    SetFont(font_.Get());
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
    SetClientSize(client.right, client.bottom);
}

void Form::SetClientSize(int width, int height)
{
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
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
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show()
{
    PlaceForFirstShow();
    ShowWindow(Handle(), SW_SHOW);
}

void Form::ShowMaximized()
{
    PlaceForFirstShow();
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
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

void Form::OnClose()
{
    if (TheApplication && TheApplication->MainForm() == this)
        TheApplication->Terminate();
    else
        Hide();
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        OnClose();
        return 0;
    }
    return CustomControl::WindowProc(message, wParam, lParam);
}

} // namespace tk
