// CompactItems: the compact window's windowless controls as the keyboard
// and an accessibility client meet them, in reading order: which are Tab
// stops, and the name and role each is given (what a picture does; a
// figure is named by what it shows, its text becoming its value). The skin
// itself is left out: it is decoration. Portable, so the order and the
// table are tested natively.
#pragma once

#include <array>

#include "toolkit/AccessibleItem.h"

struct TCompactItem {
    const char* control; // the control's design name
    const char* name;    // empty: its caption
    tk::AccessibleRole role;
    bool tabStop;
    const char* shortcut; // the key that works anywhere on the window, or ""
};

// Tab order: the host label, the average, START/STOP (one of the two shows
// at a time), About, Setings, close.
inline constexpr std::array<TCompactItem, 9> kCompactItems{{
    {"lbHost", "Host", tk::AccessibleRole::StaticText, true, ""},
    {"Label6", "", tk::AccessibleRole::StaticText, false, ""},
    {"lbAVG", "AVG Trip Time / Error", tk::AccessibleRole::StaticText, true, ""},
    {"Image4", "Start repeat ping", tk::AccessibleRole::PushButton, true, "Ctrl+R"},
    {"Image5", "End repeat ping", tk::AccessibleRole::PushButton, true, "Ctrl+R"},
    {"Image3", "ICMP echo monitor", tk::AccessibleRole::Graphic, false, ""},
    {"Image2", "About", tk::AccessibleRole::PushButton, true, "F1"},
    {"Image1", "Setings", tk::AccessibleRole::PushButton, true, ""},
    {"SpeedButton1", "Close", tk::AccessibleRole::PushButton, true, "Alt+F4"},
}};
