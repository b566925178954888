#include "toolkit/AccessibilityApi.h"

#include "toolkit/SystemFunction.h"

namespace tk::msaa {

LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object)
{
    static const auto f = SystemFunction<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return f ? f(iid, wParam, object) : 0;
}

HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object)
{
    static const auto f =
        SystemFunction<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    *object = nullptr;
    return f ? f(window, objectId, iid, object) : E_NOTIMPL;
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID iid, void** object)
{
    static const auto f =
        SystemFunction<decltype(&::AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
    *object = nullptr;
    return f ? f(window, objectId, iid, object) : E_NOTIMPL;
}

BSTR AllocString(const std::string& text)
{
    static const auto f = SystemFunction<decltype(&::SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
    if (!f)
        return nullptr;
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return f(wide.data(), static_cast<UINT>(length));
}

void EnterApartment()
{
    static const bool entered = [] {
        const auto f = SystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        return f && SUCCEEDED(f(nullptr, COINIT_APARTMENTTHREADED));
    }();
    (void)entered;
}

} // namespace tk::msaa
