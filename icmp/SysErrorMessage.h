// The operating system's wording for an error code, trailing line break and
// blanks removed. Win32 layer.
#pragma once

#include <windows.h>

#include <string>

std::string SysErrorMessage(DWORD code);
