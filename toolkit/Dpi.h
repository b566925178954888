// The DPI a window is shown at, and the frame around a client area at a
// DPI. The per-monitor functions came with Windows 10 1607, so they are
// looked up at run time: on older systems, which run the program
// system-aware, every window has the screen's DPI.
#pragma once

#include <windows.h>

#include "toolkit/Scale.h"

namespace tk {

int WindowDpi(HWND window);

// The outer size of a window with this style around a client area of
// `client` pixels, at `dpi`.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi);

} // namespace tk
