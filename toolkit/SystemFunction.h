// A function of a system library looked up at run time: for functions of
// newer systems than the ones we target, and for libraries that only some
// runs need (loading them at start would slow every start). Null when the
// library or the function cannot be had.
//
//     static const auto f = tk::SystemFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
#pragma once

#include <windows.h>

namespace tk {

template <class F>
F SystemFunction(const wchar_t* library, const char* name)
{
    HMODULE module = GetModuleHandleW(library);
    if (!module)
        module = LoadLibraryW(library);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

} // namespace tk
