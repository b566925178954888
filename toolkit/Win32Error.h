// Win32Error: a failed Win32 call, with the system's text for GetLastError();
// and SysErrorMessage, the system's text for any error code.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace tk {

// The operating system's wording for an error code, trailing line breaks and
// blanks removed; empty for a code the system has no text for.
std::string SysErrorMessage(DWORD code);
// The same within a longer message: no closing full stop, and a number where
// the system has no text.
std::string SystemErrorText(DWORD code);

class Win32Error : public std::runtime_error {
public:
    // Reads GetLastError() itself, so construct it right after the failed call.
    explicit Win32Error(const std::string& call);
    Win32Error(const std::string& call, DWORD code);
    DWORD Code() const { return code_; }

private:
    DWORD code_;
};

} // namespace tk
