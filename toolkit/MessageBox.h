// ShowMessageBox: a modal system message box, for the rare question or notice.
#pragma once

#include <windows.h>

#include <string>

namespace tk {

// Returns the button pressed (IDOK, IDYES, ...). `flags` are MB_* values.
inline int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

} // namespace tk
