// Driver additions for standard controls and keyboard input: combo box
// items, check boxes, tabs, the focus, keys, the session's end and Linux commands. Like
// the rest of the driver, everything is bounded and returns empty on failure.
#pragma once

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace zvdrive {

// Through the wide message: the ANSI one loses all but the first character
// across processes under Wine. Converted to the ANSI code page.
std::vector<std::string> ComboItems(HWND comboBox);
// The edit part of an editable combo box.
HWND ComboEdit(HWND comboBox);

bool IsChecked(HWND button);

int SelectedTab(HWND tabControl);
// Clicks the tab's header, as a user does; false if there is no such tab.
bool SelectTab(HWND tabControl, int index);

// The control with the input focus in the window's thread.
HWND FocusOf(HWND window);
// A mouse press on the control, which takes the focus as a click does.
void FocusByClick(HWND control);
// Posted key presses, seen by the program's message loop as typed keys (a
// key that becomes a character is translated there).
void PressKey(HWND target, UINT virtualKey);
void TypeText(HWND target, const std::string& text);

// What Windows sends every top-level window of a process when the user
// logs off: WM_QUERYENDSESSION, then WM_ENDSESSION (ending).
void EndSession(DWORD pid);

// Moves the real pointer onto a client point of the window and waits, up to
// the timeout, for a tooltip of the window's top-level window to show; its
// text in UTF-8, or "" if none showed.
std::string HoverTip(HWND window, int x, int y, std::chrono::milliseconds timeout);
// Moves the real pointer to the screen's top-left corner, off every window
// of the program, so that no tooltip shows in what a test reads off the screen.
void ParkPointer();
// The text of the tooltip of the window's top-level window that shows now,
// in UTF-8, or "".
std::string ShownTip(HWND window);

// Runs a Linux shell command (as Screenshot runs ImageMagick) and waits,
// up to the timeout, until it has finished; true if it did.
bool RunShell(const std::string& command, std::chrono::milliseconds timeout);
// Freezes the program started from `exePath` as a sleep freezes it: a Linux
// shell of its own stops the process (found by its command line) once the
// shell condition `when` holds (polled every 10 ms for up to 10 s), and
// resumes it `duration` later, even if the test has ended meanwhile. True
// once that shell runs.
bool FreezeProcess(const std::string& exePath, std::chrono::seconds duration, const std::string& when = "true");

// Real input through the X server (xdotool), as a user's hands give it: it
// goes to the window under the pointer and the program sees the modifier
// keys held. Hold the display lock.
// A chord is pressed in order and released in reverse (Ctrl, then C).
void SendKeys(std::initializer_list<UINT> chord);
void SendClick(HWND window, POINT client, std::initializer_list<UINT> held = {}, bool right = false);
// The shell command that puts the pointer on a screen point, for a test
// that clicks through xdotool in its own way.
std::string PointerTo(POINT screen);
// Whether the window's thread runs a menu (its owner is what Wine lets
// another process see of it).
bool InMenu(HWND window);

// A report-style list's row in its client coordinates, and its selected rows.
bool ListViewRowRect(HWND listView, int row, RECT& rect);
std::vector<int> ListViewSelection(HWND listView);

// The clipboard's Unicode text, or nothing when it holds no text.
std::optional<std::wstring> ClipboardText();
bool ClearClipboard();

// A process's standard save dialog: found by its file name box, read, and
// answered by typing a full path there and pressing Save.
HWND WaitForSaveDialog(DWORD pid, std::chrono::milliseconds timeout);
std::string SaveDialogFileName(HWND dialog);
// True once the dialog has gone.
bool SaveDialogChoose(HWND dialog, const std::string& path, std::chrono::milliseconds timeout);

} // namespace zvdrive
