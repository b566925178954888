// Start-up and shutdown. The compact window comes first, so it becomes the
// main window; the console second, hidden, because its creation handler
// writes into the compact window. The loop runs until the main window
// closes; the application object then destroys the console, then the
// compact window. A window that fails while being built ends the program.
#include <windows.h>

#include "app/uMain.h"
#include "console/uSetings.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    tk::Application application;
    try {
        application.CreateForm(FormMain);
        application.CreateForm(FormSetings);
    } catch (...) {
        application.ShowFatalException();
        return 1;
    }
    application.Run();
    return 0;
}
