// Application: the one application object. Runs the event loop of the GUI
// thread, owns the forms (freeing them newest first at shutdown), and shows
// the error box for any exception that escapes a handler. GUI thread only.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <new>
#include <string>
#include <utility>

#include "toolkit/Component.h"
#include "toolkit/HandlerErrorScope.h"

namespace tk {

class Form;

class Application : public Component {
public:
    // Records the main thread and takes the title; exactly one instance per process.
    Application();
    ~Application() override;

    // The title: the executable's file name without folder and extension,
    // the first character as written and the rest in lower case.
    const std::string& Title() const { return title_; }

    // Creates a form owned by the application. `reference` names the form
    // from before its constructor runs and is cleared again if that throws,
    // or if one of its window procedures throws meanwhile; the exception then
    // goes on to the caller. The first form becomes the main form; its
    // creation handler runs last. `args` follow the owner to the constructor.
    template <class T, class... Args>
    void CreateForm(T*& reference, Args&&... args);

    Form* MainForm() const { return mainForm_; }
    void SetMainFormIfFirst(Form* form);

    // Shows the main form as the launcher asked (maximised, or minimised
    // without activation) and runs the loop until the main form closes.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Dispatches every pending message; returns when the queue is empty.
    void ProcessMessages();
    // Dispatches one pending message if there is one; true if one was handled.
    bool HandleMessage();

    // The error box: error icon, one OK button, the title as caption, the
    // message with a full stop added when its last character is above '.'.
    void ShowException(const std::exception& e);
    void HandleCurrentException(); // call inside a catch block

    // The fatal box of a failed start-up, titled "Application Error"; call
    // inside a catch block.
    void ShowFatalException();

    // Lets a test take the boxes' caption and text instead of a modal box.
    using ErrorBoxHook = std::function<void(const std::string& caption, const std::string& text)>;
    void SetErrorBoxHook(ErrorBoxHook hook) { errorBoxHook_ = std::move(hook); }

    DWORD MainThreadId() const { return mainThreadId_; }

    // A cursor shown over every window of the application while set (the
    // busy cursor of a timed ping); null gives each control its own again.
    HCURSOR ScreenCursor() const { return screenCursor_; }
    void SetScreenCursor(HCURSOR cursor);

private:
    // Tab, Shift+Tab and Enter inside a form, before translation.
    bool DialogKey(const MSG& msg);
    void ShowErrorBox(const std::string& caption, const std::string& text);
    void ShowMainForm();
    void FinishCreateForm(Form* form);

    std::string title_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    DWORD mainThreadId_;
    ErrorBoxHook errorBoxHook_;
    HCURSOR screenCursor_ = nullptr;
};

// The full path of the running executable in the ANSI code page (for its
// title; files are opened by tk::ModuleFilePath()).
std::string ModulePath();

// The application object, set by its constructor.
extern Application* TheApplication;

template <class T, class... Args>
void Application::CreateForm(T*& reference, Args&&... args)
{
    void* memory = ::operator new(sizeof(T));
    reference = static_cast<T*>(memory);
    try {
        HandlerErrorScope scope;
        new (memory) T(this, std::forward<Args>(args)...);
        if (scope.Failed()) {
            reference->~T();
            scope.RethrowIfFailed();
        }
    } catch (...) {
        reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    FinishCreateForm(reference);
}

} // namespace tk
