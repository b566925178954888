// The clipboard: puts a text on it for other programs to paste.
#pragma once

#include <windows.h>

#include <string>

namespace tk {

// Replaces the clipboard's contents with the text (as CF_UNICODETEXT; Windows
// offers it in the other text formats too). Throws Win32Error on failure.
void SetClipboardText(HWND owner, const std::wstring& text);

} // namespace tk
