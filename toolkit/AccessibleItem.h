// AccessibleItem: what an accessibility client (a screen reader) is told
// about the windowless controls of one window: each one's name, role,
// value, state and default action, derived from what the control shows.
// Portable: the Win32 layer (AccessibleObject) maps roles and states to
// the system's constants.
#pragma once

#include <string>
#include <vector>

namespace tk {

enum class AccessibleRole { None, StaticText, PushButton, Graphic };

// Bits of AccessibleEntry::state.
enum AccessibleState : unsigned {
    kAccessibleFocused = 1,
    kAccessibleFocusable = 2,
    kAccessibleUnavailable = 4,
    kAccessibleInvisible = 8,
};

// One control as it is now.
struct AccessibleFacts {
    std::string caption; // the text it shows, if any
    std::string name;    // a name given by its form; empty: none given
    std::string shortcut;
    AccessibleRole role = AccessibleRole::None;
    bool visible = true;
    bool enabled = true;
    bool focusable = false;
    bool focused = false;
    bool clickable = false;
};

struct AccessibleEntry {
    std::string name;
    AccessibleRole role = AccessibleRole::None;
    std::string value;
    unsigned state = 0;
    std::string defaultAction;
    std::string shortcut;

    bool operator==(const AccessibleEntry&) const = default;
};

// The entries of controls in reading order. A control's name is the one
// its form gave it; else the caption of a heading just before it (a static
// text ending in ':', as a dialog labels the field after it), the colon
// left out; else its own caption. A control not named by its caption gets
// the caption as its value.
std::vector<AccessibleEntry> DescribeAccessibleItems(const std::vector<AccessibleFacts>& items);

} // namespace tk
