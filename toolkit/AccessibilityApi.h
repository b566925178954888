// The functions of OLEACC, OLEAUT32 and OLE32 that the accessibility
// objects use, looked up at run time: only a program that an accessibility
// client asks loads them, and the import list stays that of Windows' core
// DLLs. Each answers as the system does when its library is missing
// (failure, a null string). GUI thread only.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace tk::msaa {

// 0 when OLEACC cannot be had.
LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);
HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);
HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID iid, void** object);
// Text in the ANSI code page as a new BSTR; null when OLEAUT32 cannot be had.
BSTR AllocString(const std::string& text);
// A marshalled object needs a COM apartment on the thread that answers
// for it: the GUI thread enters one the first time a client asks.
void EnterApartment();

} // namespace tk::msaa
