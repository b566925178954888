// Application: the one application object. Runs the event loop of the GUI
// thread, owns the forms (freeing them newest first at shutdown), and shows
// the error box for any exception that escapes a handler. GUI thread only.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "toolkit/Component.h"

namespace tk {

class Form;

class Application : public Component {
public:
    // Records the main thread; exactly one instance per process.
    Application();
    ~Application() override;

    // The title: the executable's file name without folder and extension,
    // the first character as written and the rest in lower case.
    const std::string& Title() const { return title_; }

    // Creates a form owned by the application and returns it; the first one
    // becomes the main form. Implemented in Application.cpp / Form.cpp.
    Form* MainForm() const { return mainForm_; }
    void SetMainFormIfFirst(Form* form);

    // Runs the loop until the main form closes (honours the launcher's show state).
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

    DWORD MainThreadId() const { return mainThreadId_; }

private:
    std::string title_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    DWORD mainThreadId_;
};

// The application object, set by its constructor.
extern Application* TheApplication;

} // namespace tk
