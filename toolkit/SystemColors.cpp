#include "toolkit/SystemColors.h"

#include "toolkit/CustomControl.h"

namespace tk {

namespace {
int highContrast = -1; // unknown until asked
}

bool HighContrast()
{
    if (highContrast < 0) {
        HIGHCONTRASTA contrast{};
        contrast.cbSize = sizeof contrast;
        highContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                       (contrast.dwFlags & HCF_HIGHCONTRASTON);
    }
    return highContrast > 0;
}

void ForgetHighContrast()
{
    highContrast = -1;
}

bool UsesSystemColors(const WinControl& control)
{
    if (!HighContrast())
        return false;
    const WinControl* top = &control;
    while (top->Parent())
        top = top->Parent();
    const auto* form = dynamic_cast<const CustomControl*>(top);
    return !form || !form->KeepsOwnColors();
}

} // namespace tk
