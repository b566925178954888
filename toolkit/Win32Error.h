// Win32Error: a failed Win32 call, with the system's text for GetLastError().
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace tk {

// The system's wording for an error code, without trailing blanks or full stop.
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
