#include "toolkit/AccessibleObject.h"

#include <oleacc.h>

#include <vector>

#include "toolkit/AccessibilityApi.h"
#include "toolkit/CustomControl.h"
#include "toolkit/GraphicControl.h"

namespace tk {

namespace {

bool clientSeen = false;

LONG SystemRole(AccessibleRole role)
{
    switch (role) {
    case AccessibleRole::StaticText:
        return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::PushButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::Graphic:
        return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::None:
        break;
    }
    return ROLE_SYSTEM_CLIENT;
}

LONG SystemState(unsigned state)
{
    LONG s = 0;
    if (state & kAccessibleFocused)
        s |= STATE_SYSTEM_FOCUSED;
    if (state & kAccessibleFocusable)
        s |= STATE_SYSTEM_FOCUSABLE;
    if (state & kAccessibleUnavailable)
        s |= STATE_SYSTEM_UNAVAILABLE;
    if (state & kAccessibleInvisible)
        s |= STATE_SYSTEM_INVISIBLE;
    return s;
}

std::vector<HWND> ChildWindows(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HRESULT Text(const std::string& text, BSTR* out)
{
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = msaa::AllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetLong(VARIANT* v, LONG value)
{
    v->vt = VT_I4;
    v->lVal = value;
}

class ClientObject final : public IAccessible {
public:
    explicit ClientObject(HWND window) : window_(window)
    {
        msaa::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard_));
    }
    ~ClientObject()
    {
        if (standard_)
            standard_->Release();
    }
    ClientObject(const ClientObject&) = delete;
    ClientObject& operator=(const ClientObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IAccessible)
            return E_NOINTERFACE;
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

    // Clients call IAccessible directly; scripting through IDispatch is not offered.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    STDMETHODIMP get_accParent(IDispatch** parent) override
    {
        *parent = nullptr;
        return standard_ ? standard_->get_accParent(parent) : S_FALSE;
    }
    STDMETHODIMP get_accChildCount(long* count) override
    {
        CustomControl* c = Control();
        if (!c)
            return CO_E_OBJNOTCONNECTED;
        *count = static_cast<long>(c->AccessibleGraphics().size() + ChildWindows(window_).size());
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override
    {
        *out = nullptr;
        const Child which = Which(child);
        if (which.kind == Kind::Graphic)
            return S_FALSE; // a simple element: the parent answers for it
        if (which.kind != Kind::Window)
            return E_INVALIDARG;
        return msaa::AccessibleObjectFromWindow(which.window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                reinterpret_cast<void**>(out));
    }

    STDMETHODIMP get_accName(VARIANT child, BSTR* out) override
    {
        return Answer(child, out, &AccessibleEntry::name, &IAccessible::get_accName);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override
    {
        return Answer(child, out, &AccessibleEntry::value, &IAccessible::get_accValue);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override
    {
        return Answer(child, out, &AccessibleEntry::defaultAction, &IAccessible::get_accDefaultAction);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override
    {
        return Nothing(child, out, &IAccessible::get_accDescription);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override
    {
        return Nothing(child, out, &IAccessible::get_accHelp);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override
    {
        return Answer(child, out, &AccessibleEntry::shortcut, &IAccessible::get_accKeyboardShortcut);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override
    {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }

    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override
    {
        role->vt = VT_EMPTY;
        const Child which = Which(child);
        if (which.kind == Kind::Self)
            return standard_ ? standard_->get_accRole(child, role) : (SetLong(role, ROLE_SYSTEM_CLIENT), S_OK);
        if (which.kind != Kind::Graphic)
            return E_INVALIDARG;
        SetLong(role, SystemRole(which.entry.role));
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override
    {
        state->vt = VT_EMPTY;
        const Child which = Which(child);
        if (which.kind == Kind::Self && standard_)
            return standard_->get_accState(child, state);
        if (which.kind != Kind::Graphic)
            return E_INVALIDARG;
        SetLong(state, SystemState(which.entry.state));
        return S_OK;
    }

    STDMETHODIMP get_accFocus(VARIANT* out) override
    {
        out->vt = VT_EMPTY;
        CustomControl* c = Control();
        if (!c)
            return CO_E_OBJNOTCONNECTED;
        const HWND focus = GetFocus();
        if (focus == window_) {
            SetLong(out, IdOf(*c, c->FocusedGraphic()));
            return S_OK;
        }
        if (standard_ && focus && IsChild(window_, focus))
            return standard_->get_accFocus(out);
        return S_FALSE;
    }
    STDMETHODIMP get_accSelection(VARIANT* out) override
    {
        out->vt = VT_EMPTY;
        return S_FALSE;
    }

    STDMETHODIMP accSelect(long flags, VARIANT child) override
    {
        const Child which = Which(child);
        if (which.kind == Kind::Self)
            return standard_ ? standard_->accSelect(flags, child) : S_FALSE;
        if (which.kind != Kind::Graphic)
            return E_INVALIDARG;
        if (flags != SELFLAG_TAKEFOCUS || !which.graphic->CanFocus())
            return S_FALSE;
        ::SetFocus(window_);
        Control()->FocusGraphic(which.graphic);
        return S_OK;
    }
    STDMETHODIMP accLocation(long* x, long* y, long* width, long* height, VARIANT child) override
    {
        const Child which = Which(child);
        if (which.kind == Kind::Self && standard_)
            return standard_->accLocation(x, y, width, height, child);
        if (which.kind != Kind::Graphic)
            return E_INVALIDARG;
        const Rect b = which.graphic->Bounds();
        POINT origin{b.left, b.top};
        ClientToScreen(window_, &origin);
        *x = origin.x;
        *y = origin.y;
        *width = b.width;
        *height = b.height;
        return S_OK;
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        end->vt = VT_EMPTY;
        if (Which(start).kind == Kind::Self && standard_)
            return standard_->accNavigate(direction, start, end);
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override
    {
        out->vt = VT_EMPTY;
        CustomControl* c = Control();
        if (!c)
            return CO_E_OBJNOTCONNECTED;
        POINT p{x, y};
        ScreenToClient(window_, &p);
        RECT client{};
        GetClientRect(window_, &client);
        if (PtInRect(&client, p)) {
            if (const LONG id = IdOf(*c, c->Graphics().At({p.x, p.y}))) {
                SetLong(out, id);
                return S_OK;
            }
        }
        return standard_ ? standard_->accHitTest(x, y, out) : S_FALSE;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override
    {
        const Child which = Which(child);
        if (which.kind == Kind::Self && standard_)
            return standard_->accDoDefaultAction(child);
        if (which.kind != Kind::Graphic)
            return E_INVALIDARG;
        if (which.entry.defaultAction.empty() || !which.graphic->Visible() || !which.graphic->Enabled())
            return DISP_E_MEMBERNOTFOUND;
        Control()->PostGraphicClick(static_cast<int>(child.lVal));
        return S_OK;
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

private:
    enum class Kind { Invalid, Self, Graphic, Window };
    struct Child {
        Kind kind = Kind::Invalid;
        GraphicControl* graphic = nullptr;
        AccessibleEntry entry;
        HWND window = nullptr;
    };

    // Null once the window is gone.
    CustomControl* Control() const
    {
        return dynamic_cast<CustomControl*>(WinControl::FromHandle(window_));
    }

    static LONG IdOf(const CustomControl& c, const GraphicControl* g)
    {
        const std::vector<GraphicControl*> items = c.AccessibleGraphics();
        for (std::size_t i = 0; g && i < items.size(); ++i)
            if (items[i] == g)
                return static_cast<LONG>(i + 1);
        return CHILDID_SELF;
    }

    Child Which(const VARIANT& child) const
    {
        CustomControl* c = Control();
        if (!c || child.vt != VT_I4 || child.lVal < 0)
            return {};
        Child which;
        if (child.lVal == CHILDID_SELF) {
            which.kind = Kind::Self;
            return which;
        }
        const auto i = static_cast<std::size_t>(child.lVal) - 1;
        const std::vector<GraphicControl*> items = c->AccessibleGraphics();
        const std::vector<HWND> windows = ChildWindows(window_);
        if (i < items.size()) {
            which.kind = Kind::Graphic;
            which.graphic = items[i];
            which.entry = c->DescribeGraphics()[i];
        } else if (i - items.size() < windows.size()) {
            which.kind = Kind::Window;
            which.window = windows[i - items.size()];
        }
        return which;
    }

    using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

    HRESULT Answer(VARIANT child, BSTR* out, std::string AccessibleEntry::*field, TextGetter forSelf)
    {
        *out = nullptr;
        const Child which = Which(child);
        if (which.kind == Kind::Self)
            return standard_ ? (standard_->*forSelf)(child, out) : S_FALSE;
        if (which.kind != Kind::Graphic)
            return E_INVALIDARG;
        return Text(which.entry.*field, out);
    }
    HRESULT Nothing(VARIANT child, BSTR* out, TextGetter forSelf)
    {
        *out = nullptr;
        const Child which = Which(child);
        if (which.kind == Kind::Self)
            return standard_ ? (standard_->*forSelf)(child, out) : S_FALSE;
        return which.kind == Kind::Graphic ? S_FALSE : E_INVALIDARG;
    }

    ULONG refs_ = 1;
    HWND window_;
    // The system's object for the window itself: its name, frame, parent.
    IAccessible* standard_ = nullptr;
};

} // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam)
{
    clientSeen = true;
    msaa::EnterApartment();
    auto* object = new ClientObject(window);
    const LRESULT result = msaa::LresultFromObject(IID_IAccessible, wParam, object);
    object->Release();
    // A failure comes back as a negative HRESULT: the system's default object then.
    return result > 0 ? result : 0;
}

bool AccessibleClientSeen()
{
    return clientSeen;
}

} // namespace tk
