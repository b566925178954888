// High contrast: while the user has it on, our windows draw with the
// system's colours, as the standard controls do, unless their form keeps
// its own (a skin). GUI thread only.
#pragma once

#include <windows.h>

namespace tk {

class WinControl;

// The system's setting, read once and again after ForgetHighContrast.
bool HighContrast();
// Called when the system says its colours or settings changed.
void ForgetHighContrast();
// True while high contrast is on and the control's top-level form does not
// keep its own colours.
bool UsesSystemColors(const WinControl& control);

} // namespace tk
