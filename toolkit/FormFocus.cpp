// Form's windowless Tab stops: moving the focus among them, clicking the
// focused one from the keyboard, and the mark that shows it.
#include <algorithm>

#include "toolkit/FocusCycle.h"
#include "toolkit/Form.h"
#include "toolkit/GraphicControl.h"
#include "toolkit/Handles.h"
#include "toolkit/SystemColors.h"

namespace tk {

namespace {
void FrameRound(HDC dc, const Rect& r, int width, int corner, COLORREF color)
{
    Pen pen(CreatePen(PS_INSIDEFRAME, width, color));
    SelectScope selectPen(dc, pen.Get());
    SelectScope selectBrush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.Right(), r.Bottom(), corner, corner);
}

Rect Inflated(const Rect& r, int by)
{
    return {r.left - by, r.top - by, r.width + 2 * by, r.height + 2 * by};
}
} // namespace

std::vector<GraphicControl*> Form::GraphicStops() const
{
    std::vector<GraphicControl*> stops = AccessibleGraphics();
    std::erase_if(stops, [](const GraphicControl* g) { return !g->TabStop(); });
    return stops;
}

GraphicControl* Form::FocusedGraphic() const
{
    // A control freed since it had the focus has left the z-order.
    const auto& all = Graphics().BackToFront();
    return std::find(all.begin(), all.end(), focusedGraphic_) != all.end() ? focusedGraphic_ : nullptr;
}

void Form::FocusGraphic(GraphicControl* control)
{
    GraphicControl* old = FocusedGraphic();
    if (control == old)
        return;
    if (old)
        Invalidate(FocusMarkOf(*old).area);
    focusedGraphic_ = control;
    if (!control)
        return;
    Invalidate(FocusMarkOf(*control).area);
    if (GetFocus() == Handle())
        TellFocus(*control);
}

void Form::TellFocus(const GraphicControl& control)
{
    const std::vector<GraphicControl*> items = AccessibleGraphics();
    const auto at = std::find(items.begin(), items.end(), &control);
    if (at != items.end())
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, static_cast<LONG>(at - items.begin() + 1));
}

void Form::MoveGraphicFocus(bool backwards)
{
    const std::vector<GraphicControl*> stops = GraphicStops();
    std::vector<bool> usable;
    for (const GraphicControl* g : stops)
        usable.push_back(g->CanFocus());
    const auto at = std::find(stops.begin(), stops.end(), FocusedGraphic());
    std::optional<std::size_t> from;
    if (at != stops.end())
        from = static_cast<std::size_t>(at - stops.begin());
    if (const auto next = NextFocusStop(usable, from, backwards))
        FocusGraphic(stops[*next]);
}

bool Form::GraphicKey(WPARAM key, LPARAM flags)
{
    if (GraphicStops().empty())
        return false;
    if (key == VK_TAB) {
        ShowFocusCues();
        MoveGraphicFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    GraphicControl* focused = FocusedGraphic();
    if ((key != VK_RETURN && key != VK_SPACE) || !focused)
        return false;
    ShowFocusCues();
    // A held key repeats: one press, one click.
    if (!(flags & (1 << 30)) && focused->CanFocus())
        focused->Click();
    return true;
}

void Form::ShowFocusCues()
{
    if (!focusCuesHidden_)
        return;
    // The system tells this window and those inside it (WM_UPDATEUISTATE).
    SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (focusCuesHidden_) {
        focusCuesHidden_ = false;
        if (GraphicControl* g = FocusedGraphic())
            Invalidate(FocusMarkOf(*g).area);
    }
}

void Form::FocusMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Most messages are none of these: the stops are not looked for then.
    if ((message != WM_SETFOCUS && message != WM_KILLFOCUS && message != WM_UPDATEUISTATE &&
         message != WM_LBUTTONDOWN) ||
        GraphicStops().empty())
        return;
    switch (message) {
    case WM_SETFOCUS:
        // The system tells a reader of the window; this tells it of the item.
        if (GraphicControl* g = FocusedGraphic()) {
            Invalidate(FocusMarkOf(*g).area);
            TellFocus(*g);
        } else {
            MoveGraphicFocus(false);
        }
        break;
    case WM_KILLFOCUS:
        if (GraphicControl* g = FocusedGraphic())
            Invalidate(FocusMarkOf(*g).area);
        break;
    case WM_UPDATEUISTATE:
        if (HIWORD(wParam) & UISF_HIDEFOCUS) {
            if (LOWORD(wParam) == UIS_SET || LOWORD(wParam) == UIS_CLEAR)
                focusCuesHidden_ = LOWORD(wParam) == UIS_SET;
            if (GraphicControl* g = FocusedGraphic())
                Invalidate(FocusMarkOf(*g).area);
        }
        break;
    case WM_LBUTTONDOWN:
        // As a button does: a click takes the focus (its mark stays hidden).
        if (GraphicControl* g = Graphics().At({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            g && g->CanFocus())
            FocusGraphic(g);
        break;
    }
}

void Form::SetFocusMarkColors(COLORREF line, COLORREF edge)
{
    markLine_ = line;
    markEdge_ = edge;
}

Form::FocusMarkShape Form::FocusMarkOf(const GraphicControl& control) const
{
    return {Inflated(control.Bounds(), Scaling()(3)), Scaling()(8)};
}

bool Form::FocusMarkShown() const
{
    return !focusCuesHidden_ && GetFocus() == Handle() && FocusedGraphic() && FocusedGraphic()->Visible();
}

void Form::PaintTo(HDC dc)
{
    CustomControl::PaintTo(dc);
    if (!FocusMarkShown())
        return;
    const Scale s = Scaling();
    const int line = s(1);
    const bool system = HighContrast() || markLine_ == CLR_INVALID;
    const COLORREF lineColor = system ? GetSysColor(COLOR_HIGHLIGHT) : markLine_;
    const COLORREF edgeColor = system ? GetSysColor(COLOR_HIGHLIGHT) : markEdge_;
    const FocusMarkShape mark = FocusMarkOf(*FocusedGraphic());
    FrameRound(dc, mark.area, line, mark.corner, edgeColor);
    FrameRound(dc, Inflated(mark.area, -line), line, std::max(0, mark.corner - 2 * line), lineColor);
}

} // namespace tk
