// The failure points of the program's test build (see toolkit/TestHooks.h).
#include <stdexcept>
#include <string>

#include "toolkit/TestHooks.h"
#include "toolkit/WinFileSystem.h"

namespace zvtest {

void FailPoint(const char* where)
{
    char wanted[128] = "";
    if (GetEnvironmentVariableA("ZV_FAIL_AT", wanted, sizeof wanted) && std::string(wanted) == where)
        throw std::runtime_error(std::string("Failure injected at ") + where);
}

bool ThrowOnRequest(UINT message, WPARAM wParam)
{
    static const UINT request = RegisterWindowMessageA("ZentVorlumo.Test.Throw");
    if (message != request)
        return false;
    char text[256] = "";
    auto atom = static_cast<ATOM>(wParam);
    GlobalGetAtomNameA(atom, text, sizeof text);
    GlobalDeleteAtom(atom);
    throw std::runtime_error(text);
}

bool TextOnRequest(UINT message, WPARAM wParam, const char* name, std::string& text)
{
    if (message != RegisterWindowMessageA(name))
        return false;
    wchar_t wide[256] = L"";
    auto atom = static_cast<ATOM>(wParam);
    GlobalGetAtomNameW(atom, wide, 256);
    GlobalDeleteAtom(atom);
    text = tk::AnsiText(wide);
    return true;
}

} // namespace zvtest
