// AccessibleObject: the IAccessible a CustomControl answers WM_GETOBJECT
// (OBJID_CLIENT) with. Its children are the window's windowless controls
// (simple elements, ids 1..n in reading order: name, role, value, state,
// location, default action) followed by its child windows (the system's
// objects for them). The window itself is described by the system's
// object. It holds the window's handle, not the control, so a client that
// keeps it after the window is gone gets an error, not a dangling pointer.
// GUI thread only (a client in another process is served through COM).
#pragma once

#include <windows.h>

namespace tk {

// What WM_GETOBJECT returns for the window's client object; 0 (the
// system's default object) when OLEACC cannot be had.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam);
// True once any window of the process has answered a client.
bool AccessibleClientSeen();

} // namespace tk
