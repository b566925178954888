#include "toolkit/SpinEdit.h"

#include "toolkit/CustomControl.h"
#include "toolkit/LocaleText.h"

namespace tk {

namespace {
constexpr int kArrowsWidth = 15;
constexpr UINT_PTR kRepeatTimer = 1;

char LocaleDecimalSeparator()
{
    const std::string decimal = ReadLocaleSeparators().Decimal;
    return decimal.empty() ? '.' : decimal[0];
}
} // namespace

// The two arrow buttons, a child window of the edit: a press steps at once,
// holding it repeats while the pointer stays on that arrow.
class SpinEdit::Arrows : public CustomControl {
public:
    explicit Arrows(SpinEdit& edit) : CustomControl(&edit, &edit), edit_(edit)
    {
        // Created in place, along the right of the text, rather than moved there.
        RECT client{};
        GetClientRect(edit.Handle(), &client);
        const int width = edit.Scaling()(kArrowsWidth);
        CreateCustom("tk.SpinArrows", "", WS_CHILD | WS_VISIBLE, 0, {client.right - width, 0, width, client.bottom},
                     edit.Handle());
    }

    void PaintTo(HDC dc) override
    {
        RECT r{};
        GetClientRect(Handle(), &r);
        const int middle = r.bottom / 2;
        const UINT inactive = IsWindowEnabled(edit_.Handle()) ? 0 : DFCS_INACTIVE;
        RECT up{0, 0, r.right, middle};
        RECT down{0, middle, r.right, r.bottom};
        DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | inactive | (held_ && up_ ? DFCS_PUSHED : 0));
        DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive | (held_ && !up_ ? DFCS_PUSHED : 0));
    }

protected:
    void OnMouseDown(MouseButton button, Point p, unsigned) override
    {
        if (button != MouseButton::Left || !IsWindowEnabled(edit_.Handle()))
            return;
        held_ = true;
        up_ = OnUpArrow(p);
        SetCapture(Handle());
        edit_.SetFocus();
        edit_.Step(up_);
        SetTimer(Handle(), kRepeatTimer, kSpinFirstRepeatMs, nullptr);
        Invalidate();
    }
    void OnMouseUp(MouseButton button, Point, unsigned) override
    {
        if (button == MouseButton::Left)
            Release();
    }
    void OnCaptureChanged() override { Release(); }
    void OnTimer(UINT_PTR id) override
    {
        if (id != kRepeatTimer || !held_)
            return;
        SetTimer(Handle(), kRepeatTimer, kSpinRepeatMs, nullptr); // from now on the faster pace
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(Handle(), &p);
        RECT r{};
        GetClientRect(Handle(), &r);
        if (PtInRect(&r, p) && OnUpArrow({p.x, p.y}) == up_)
            edit_.Step(up_);
    }

private:
    bool OnUpArrow(Point p) const
    {
        RECT r{};
        GetClientRect(Handle(), &r);
        return p.y < r.bottom / 2;
    }
    void Release()
    {
        if (!held_)
            return;
        held_ = false; // first: releasing the capture comes back here
        KillTimer(Handle(), kRepeatTimer);
        if (GetCapture() == Handle())
            ReleaseCapture();
        Invalidate();
    }

    SpinEdit& edit_;
    bool held_ = false;
    bool up_ = false;
};

SpinEdit::SpinEdit(Component* owner, WinControl* parent, Rect bounds, int minValue, int maxValue, int increment,
                   int value)
    : WinControl(owner, parent), rules_(minValue, maxValue, increment), decimalSeparator_(LocaleDecimalSeparator())
{
    // Made with its value's text: given it afterwards, the field would be drawn once more.
    CreateHandle("EDIT", ValueText(value), WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE,
                 bounds);
    SubclassWindow();
    arrows_ = new Arrows(*this);
    SetTextMargin();
}

std::string SpinEdit::ValueText(int value) const
{
    return std::to_string(rules_.Clamp(value));
}

int SpinEdit::Value() const
{
    return rules_.Read(Text());
}

void SpinEdit::SetValue(int value)
{
    const std::string text = ValueText(value);
    if (text != Text())
        SetText(text);
}

void SpinEdit::Step(bool up)
{
    SetValue(rules_.Step(Text(), up));
}

void SpinEdit::Command(unsigned code)
{
    if (code == EN_CHANGE && OnChange)
        OnChange(this);
}

void SpinEdit::Commit()
{
    if (std::optional<int> value = rules_.Committed(Text()))
        SetValue(*value);
}

void SpinEdit::PlaceArrows()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = Scaling()(kArrowsWidth);
    SetWindowPos(arrows_->Handle(), nullptr, client.right - width, 0, width, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetTextMargin();
}

void SpinEdit::RepaintArrows()
{
    if (arrows_)
        RedrawWindow(arrows_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void SpinEdit::SetTextMargin()
{
    // The text stops short of the arrows.
    SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, Scaling()(kArrowsWidth + 1)));
}

LRESULT SpinEdit::SubclassProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        switch (FilterSpinKey(static_cast<unsigned>(wParam), decimalSeparator_)) {
        case SpinKey::Accept:
            break;
        case SpinKey::Refuse:
            MessageBeep(MB_OK);
            return 0;
        case SpinKey::Ignore:
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            Step(wParam == VK_UP);
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        LRESULT result = CallOriginal(message, wParam, lParam);
        Commit();
        RepaintArrows();
        return result;
    }
    case WM_PAINT:
    case WM_SETFOCUS: {
        // The edit control paints its whole client area, the arrows' place
        // included, when it takes the focus: the arrows go on top after it.
        LRESULT result = CallOriginal(message, wParam, lParam);
        RepaintArrows();
        return result;
    }
    case WM_ENABLE:
        // Windows may leave the focus on a disabled field; it counts as left.
        if (!wParam && GetFocus() == Handle())
            Commit();
        if (arrows_)
            arrows_->Invalidate();
        break;
    case WM_SIZE:
    case WM_SETFONT: {
        LRESULT result = CallOriginal(message, wParam, lParam);
        if (arrows_)
            PlaceArrows();
        return result;
    }
    }
    return WinControl::SubclassProc(message, wParam, lParam);
}

} // namespace tk
