// Start-up and shutdown, and the one place where the two windows meet. The
// compact window comes first, so it becomes the main window, and watches
// the monitoring run before the console is made: the console's creation
// handler already shows the run there. The console comes second, hidden.
// The loop runs until the main window closes; the application object then
// destroys the console, then the compact window; the run's figures and the
// run go last. A window that fails while being built ends the program.
#include <windows.h>

#include "app/HistoryService.h"
#include "app/uMain.h"
#include "console/SystemClock.h"
#include "console/uSetings.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The figures watch the run from its start and outlive the windows.
    TMonitorRun run(ReadSystemClock);
    TRunFiguresFeed figures(run);
    tk::Application application;
    // The history follows the run's options, which the console's settings load sets.
    THistoryService history(run, figures);
    try {
        application.CreateForm(FormMain);
        FormMain->Watch(run);
        FormMain->ShowFigures(&figures);
        application.CreateForm(FormSetings, run);
        FormSetings->ShowFigures(&figures);
        FormMain->SetConsole(*FormSetings);
        FormMain->ShowTrayIcon(figures, history);
    } catch (...) {
        application.ShowFatalException();
        return 1;
    }
    application.Run();
    return 0;
}
