#include "toolkit/Win32Error.h"

namespace tk {

std::string SysErrorMessage(DWORD code)
{
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string SystemErrorText(DWORD code)
{
    std::string text = SysErrorMessage(code);
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}

Win32Error::Win32Error(const std::string& call) : Win32Error(call, GetLastError()) {}

Win32Error::Win32Error(const std::string& call, DWORD code)
    : std::runtime_error(call + " failed: " + SystemErrorText(code)), code_(code)
{
}

} // namespace tk
