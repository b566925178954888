// CustomControl's side of accessibility: the object it answers WM_GETOBJECT
// with, the events telling clients of changed captions, and the clicks
// clients ask for.
#include <algorithm>

#include "toolkit/AccessibleObject.h"
#include "toolkit/CustomControl.h"
#include "toolkit/GraphicControl.h"

namespace tk {

namespace {
constexpr UINT_PTR kEventTimer = 0x7AC1;
constexpr DWORD kEventSpacing = 1000; // ms

UINT ClickMessage()
{
    static const UINT message = RegisterWindowMessageA("tk.AccessibleClick");
    return message;
}
} // namespace

std::vector<GraphicControl*> CustomControl::AccessibleGraphics() const
{
    std::vector<GraphicControl*> items = readingOrder_.empty() ? graphics_.BackToFront() : readingOrder_;
    std::erase_if(items, [](const GraphicControl* g) { return g->Role() == AccessibleRole::None; });
    return items;
}

std::vector<AccessibleEntry> CustomControl::DescribeGraphics() const
{
    const GraphicControl* focused = GetFocus() == Handle() ? FocusedGraphic() : nullptr;
    std::vector<AccessibleFacts> facts;
    for (const GraphicControl* g : AccessibleGraphics())
        facts.push_back({.caption = g->Caption(),
                         .name = g->AccessibleName(),
                         .shortcut = g->Shortcut(),
                         .role = g->Role(),
                         .visible = g->Visible(),
                         .enabled = g->Enabled(),
                         .focusable = g->TabStop(),
                         .focused = g == focused,
                         .clickable = static_cast<bool>(g->OnClick)});
    return DescribeAccessibleItems(facts);
}

void CustomControl::GraphicTextChanged(GraphicControl* control)
{
    // Nobody listens before a client has asked for an object.
    if (!Handle() || !AccessibleClientSeen() || control->Role() == AccessibleRole::None)
        return;
    if (std::find(changed_.begin(), changed_.end(), control) == changed_.end())
        changed_.push_back(control);
    if (eventTimerArmed_)
        return;
    const DWORD since = GetTickCount() - lastEventTick_;
    if (since >= kEventSpacing) {
        SendGraphicEvents();
        return;
    }
    eventTimerArmed_ = SetTimer(Handle(), kEventTimer, kEventSpacing - since, nullptr) != 0;
}

void CustomControl::SendGraphicEvents()
{
    const std::vector<GraphicControl*> items = AccessibleGraphics();
    const std::vector<AccessibleEntry> entries = DescribeGraphics();
    for (GraphicControl* g : changed_) {
        const auto at = std::find(items.begin(), items.end(), g);
        if (at == items.end())
            continue;
        const auto i = static_cast<std::size_t>(at - items.begin());
        // A figure's text is its value; a plain caption is the name.
        const DWORD event = entries[i].value.empty() ? EVENT_OBJECT_NAMECHANGE : EVENT_OBJECT_VALUECHANGE;
        NotifyWinEvent(event, Handle(), OBJID_CLIENT, static_cast<LONG>(i + 1));
    }
    changed_.clear();
    lastEventTick_ = GetTickCount();
}

void CustomControl::PostGraphicClick(int childId)
{
    PostMessageA(Handle(), ClickMessage(), static_cast<WPARAM>(childId), 0);
}

bool CustomControl::AccessibilityMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_GETOBJECT) {
        if (static_cast<LONG>(lParam) != OBJID_CLIENT || AccessibleGraphics().empty())
            return false;
        result = AnswerAccessibleObject(Handle(), wParam);
        return result != 0;
    }
    if (message == WM_TIMER && wParam == kEventTimer) {
        KillTimer(Handle(), kEventTimer);
        eventTimerArmed_ = false;
        SendGraphicEvents();
        return true;
    }
    if (message >= 0xC000 && message == ClickMessage()) {
        const std::vector<GraphicControl*> items = AccessibleGraphics();
        const auto i = static_cast<std::size_t>(wParam) - 1;
        if (i < items.size() && items[i]->Visible() && items[i]->Enabled())
            items[i]->Click();
        return true;
    }
    return false;
}

} // namespace tk
