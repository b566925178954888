// Driver additions for accessibility: a window's client object as a client
// such as a screen reader gets it (AccessibleObjectFromWindow, across the
// process boundary), its children and what each says, its focus, and its
// default actions. Bounded and empty on failure, like the rest of the driver.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace zvdrive {

struct AccessibleInfo {
    long id = 0;           // the child id; 0 for a child that is an object of its own (a window)
    std::string name;      // in the ANSI code page
    long role = 0;         // ROLE_SYSTEM_*
    std::string value;
    long state = 0;        // STATE_SYSTEM_*
    RECT location{};       // screen pixels: left, top, right, bottom
    std::string action;    // the default action's name
    std::string shortcut;  // the keyboard shortcut
};

// The children of the window's client object, in their order; nothing when
// the window answers no object.
std::optional<std::vector<AccessibleInfo>> AccessibleChildren(HWND window);
// The child id the client object says has the focus; nothing if none.
std::optional<long> AccessibleFocus(HWND window);
// Asks the client object to do a child's default action; true if it agreed.
bool AccessibleDefaultAction(HWND window, long child);

} // namespace zvdrive
