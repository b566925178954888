// The user's locale settings that number and time texts need, read from
// Windows in the ANSI code page (the code page the texts are drawn in).
// Win32 layer over text/NumberText.h. Read once and kept until
// ForgetLocaleTexts, which a window calls when the system's settings change.
// GUI thread only.
#pragma once

#include <string>

#include "text/NumberText.h"

namespace tk {

// The decimal and grouping separators; "." and "," where they cannot be read.
txt::NumberSeparators ReadLocaleSeparators();
// The separator between hours, minutes and seconds; ":" where it cannot be read.
std::string ReadLocaleTimeSeparator();
// The next read asks Windows again.
void ForgetLocaleTexts();

} // namespace tk
