#include "toolkit/ShellOpen.h"

#include <shellapi.h>

#include "toolkit/SystemFunction.h"

namespace tk {

void ShellOpen(HWND owner, const char* address)
{
    static const auto shellExecute = SystemFunction<decltype(&ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
    if (shellExecute)
        shellExecute(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace tk
