// Stands in for the toolkit's application object where the toolkit does not
// provide it yet: records the main thread and pumps the thread's queue.
#include "toolkit/Application.h"

namespace tk {

Application* TheApplication = nullptr;

Application::Application() : mainThreadId_(GetCurrentThreadId())
{
    TheApplication = this;
}

Application::~Application()
{
    TheApplication = nullptr;
}

bool Application::HandleMessage()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void Application::ProcessMessages()
{
    while (HandleMessage()) {
    }
}

} // namespace tk
