// Asks the shell to "open" a document or web address, as a normally shown
// window owned by `owner`; the outcome is not reported. The shell's library
// is loaded on the first call, not at start.
#pragma once

#include <windows.h>

namespace tk {

void ShellOpen(HWND owner, const char* address);

} // namespace tk
