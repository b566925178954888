#include "toolkit/AccessibleItem.h"

namespace tk {

namespace {

bool IsHeading(const AccessibleFacts& item)
{
    return item.role == AccessibleRole::StaticText && item.name.empty() && !item.caption.empty() &&
           item.caption.back() == ':';
}

unsigned StateOf(const AccessibleFacts& item)
{
    unsigned state = 0;
    if (item.focused)
        state |= kAccessibleFocused;
    if (item.focusable && item.visible && item.enabled)
        state |= kAccessibleFocusable;
    if (!item.enabled)
        state |= kAccessibleUnavailable;
    if (!item.visible)
        state |= kAccessibleInvisible;
    return state;
}

// MSAA's customary verbs: a button is pressed, anything else clicked.
std::string DefaultActionOf(const AccessibleFacts& item)
{
    if (item.role == AccessibleRole::PushButton)
        return "Press";
    return item.clickable ? "Click" : "";
}

} // namespace

std::vector<AccessibleEntry> DescribeAccessibleItems(const std::vector<AccessibleFacts>& items)
{
    std::vector<AccessibleEntry> entries;
    entries.reserve(items.size());
    const AccessibleFacts* previous = nullptr;
    for (const AccessibleFacts& item : items) {
        AccessibleEntry e;
        e.role = item.role;
        e.state = StateOf(item);
        e.defaultAction = DefaultActionOf(item);
        e.shortcut = item.shortcut;
        if (!item.name.empty())
            e.name = item.name;
        else if (previous && IsHeading(*previous) && !IsHeading(item))
            e.name = previous->caption.substr(0, previous->caption.size() - 1);
        if (e.name.empty())
            e.name = item.caption;
        else
            e.value = item.caption;
        entries.push_back(std::move(e));
        previous = &item;
    }
    return entries;
}

} // namespace tk
