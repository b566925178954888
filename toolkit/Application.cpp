#include "toolkit/Application.h"

#include <commctrl.h>

#include <cstring>
#include <stdexcept>

#include "toolkit/ErrorText.h"
#include "toolkit/Form.h"
#include "toolkit/ModuleTitle.h"
#include "toolkit/WinFileSystem.h"

namespace tk {

Application* TheApplication = nullptr;

namespace {
void CodePageLowerCase(char* text, std::size_t length)
{
    CharLowerBuffA(text, static_cast<DWORD>(length));
}

} // namespace

std::string ModulePath()
{
    return AnsiText(ModuleFilePath());
}

Application::Application()
    : title_(TitleFromModulePath(ModulePath(), CodePageLowerCase)), mainThreadId_(GetCurrentThreadId())
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    TheApplication = this;
}

Application::~Application()
{
    // The forms, newest first: the one created last is destroyed first.
    while (!Owned().empty()) {
        Component* last = Owned().back();
        if (auto* form = dynamic_cast<Form*>(last))
            Form::Free(form);
        else
            delete last;
    }
    if (TheApplication == this)
        TheApplication = nullptr;
}

void Application::SetMainFormIfFirst(Form* form)
{
    if (mainForm_)
        return;
    mainForm_ = form;
    // There is no separate application window, so the main form's window
    // carries the title that the task bar shows.
    form->SetText(title_);
}

void Application::FinishCreateForm(Form* form)
{
    SetMainFormIfFirst(form);
    form->DoCreate();
}

void Application::ShowMainForm()
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    WORD show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
    switch (show) {
    case SW_SHOWMAXIMIZED:
        mainForm_->ShowMaximized();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        mainForm_->ShowMinimizedNoActivate();
        break;
    default:
        mainForm_->Show();
        break;
    }
}

void Application::Run()
{
    if (mainForm_)
        ShowMainForm();
    while (!terminated_)
        if (!HandleMessage())
            WaitMessage();
}

void Application::Terminate()
{
    PostQuitMessage(0);
}

void Application::ProcessMessages()
{
    while (HandleMessage()) {
    }
}

namespace {

// True while a menu's or a system dialog's own loop runs on this thread and
// a handler it dispatched (a timer's tick, a ping's wait) pumps messages.
bool InForeignModalLoop()
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)))
        return true;
    char name[8] = "";
    return thread.hwndActive && GetClassNameA(thread.hwndActive, name, sizeof name) && std::strcmp(name, "#32770") == 0;
}

} // namespace

bool Application::HandleMessage()
{
    MSG msg;
    // That loop reads the keys and clicks meant for it: taken here they would
    // reach the focused window instead, and the menu or dialog would miss them.
    const UINT only = InForeignModalLoop() ? PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT : 0;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | only))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (DialogKey(msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

bool Application::DialogKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN)
        return false;
    auto* form = dynamic_cast<Form*>(WinControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
    return form && form->DialogKey(msg);
}

void Application::ShowErrorBox(const std::string& caption, const std::string& text)
{
    if (errorBoxHook_) {
        errorBoxHook_(caption, text);
        return;
    }
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_ && mainForm_->Visible())
        owner = mainForm_->Handle();
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

void Application::SetScreenCursor(HCURSOR cursor)
{
    screenCursor_ = cursor;
    if (cursor) {
        ::SetCursor(cursor);
        return;
    }
    // Back to each control's own: the window under the pointer chooses again
    // now rather than at the next real move. It is asked as a move would ask
    // it; the pointer itself is never moved (that would be input the user did
    // not make, and could pull back a pointer on its way elsewhere).
    POINT p;
    if (!GetCursorPos(&p))
        return;
    HWND window = WindowFromPoint(p);
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return;
    LRESULT hitTest = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(static_cast<WORD>(hitTest), WM_MOUSEMOVE));
}

void Application::ShowException(const std::exception& e)
{
    ShowErrorBox(title_, WithFullStop(e.what()));
}

void Application::HandleCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
}

void Application::ShowFatalException()
{
    std::string text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = FatalErrorText(ExceptionKind(typeid(e)), e.what());
    } catch (...) {
        text = FatalErrorText("of unknown type", "no message");
    }
    ShowErrorBox("Application Error", text);
}

} // namespace tk
