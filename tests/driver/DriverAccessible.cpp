#include "tests/driver/DriverAccessible.h"

#include <oleacc.h>

namespace zvdrive {

namespace {

// COM for this thread, once: the driver's calls all come from one thread.
bool ComReady()
{
    static const bool ready = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return ready;
}

struct Client {
    IAccessible* object = nullptr;
    explicit Client(HWND window)
    {
        if (ComReady())
            AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                       reinterpret_cast<void**>(&object));
    }
    ~Client()
    {
        if (object)
            object->Release();
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
};

std::string Narrow(BSTR text)
{
    std::string out;
    if (!text)
        return out;
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    out.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), length, nullptr, nullptr);
    SysFreeString(text);
    return out;
}

VARIANT ChildId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

AccessibleInfo Describe(IAccessible& object, long id)
{
    AccessibleInfo info;
    info.id = id;
    const VARIANT child = ChildId(id);
    BSTR text = nullptr;
    if (object.get_accName(child, &text) == S_OK)
        info.name = Narrow(text);
    if (object.get_accValue(child, &text) == S_OK)
        info.value = Narrow(text);
    if (object.get_accDefaultAction(child, &text) == S_OK)
        info.action = Narrow(text);
    if (object.get_accKeyboardShortcut(child, &text) == S_OK)
        info.shortcut = Narrow(text);
    VARIANT v;
    VariantInit(&v);
    if (object.get_accRole(child, &v) == S_OK && v.vt == VT_I4)
        info.role = v.lVal;
    VariantInit(&v);
    if (object.get_accState(child, &v) == S_OK && v.vt == VT_I4)
        info.state = v.lVal;
    long x = 0, y = 0, w = 0, h = 0;
    if (object.accLocation(&x, &y, &w, &h, child) == S_OK)
        info.location = {x, y, x + w, y + h};
    return info;
}

} // namespace

std::optional<std::vector<AccessibleInfo>> AccessibleChildren(HWND window)
{
    Client client(window);
    if (!client.object)
        return std::nullopt;
    long count = 0;
    if (client.object->get_accChildCount(&count) != S_OK)
        return std::nullopt;
    std::vector<AccessibleInfo> children;
    for (long id = 1; id <= count; ++id) {
        IDispatch* own = nullptr;
        const HRESULT hr = client.object->get_accChild(ChildId(id), &own);
        if (hr == S_OK && own) {
            // An object of its own: asked for itself.
            IAccessible* child = nullptr;
            if (SUCCEEDED(own->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child))) && child) {
                AccessibleInfo info = Describe(*child, CHILDID_SELF);
                child->Release();
                children.push_back(info);
            }
            own->Release();
            continue;
        }
        children.push_back(Describe(*client.object, id));
    }
    return children;
}

std::optional<long> AccessibleFocus(HWND window)
{
    Client client(window);
    VARIANT focus;
    VariantInit(&focus);
    if (!client.object || client.object->get_accFocus(&focus) != S_OK || focus.vt != VT_I4)
        return std::nullopt;
    return focus.lVal;
}

bool AccessibleDefaultAction(HWND window, long child)
{
    Client client(window);
    return client.object && client.object->accDoDefaultAction(ChildId(child)) == S_OK;
}

} // namespace zvdrive
