// ColorBox: a colour chooser, an owner-drawn drop-down list of the colours
// of ColorList, each a swatch beside its "cl" name. A colour set that the
// list does not offer gets one extra entry at the end (its value in
// hexadecimal), so Selected() gives back exactly what was set. OnChange is
// raised when the user chooses another colour, never by SetSelected.
// GUI thread only.
#pragma once

#include <cstdint>

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

namespace tk {

class ColorBox : public WinControl {
public:
    // The height of `bounds` is ignored: the closed box is one item high.
    ColorBox(Component* owner, WinControl* parent, Rect bounds);

    std::uint32_t Selected() const { return selected_; }
    void SetSelected(std::uint32_t color);

    NotifyEvent OnChange;

    void Command(unsigned code) override;
    bool DrawItem(DRAWITEMSTRUCT& item) override;
    bool MeasureItem(MEASUREITEMSTRUCT& item) override;
    void ApplyScale() override;

private:
    void FitClosedHeight();
    int Count() const;
    void AddItem(std::uint32_t color);

    std::uint32_t selected_ = 0;
    bool hasExtra_ = false;
};

// A colour word as the screen shows it: system colours (0x80000000 plus an
// index) through GetSysColor, others without their top byte.
COLORREF ColorToRGB(std::uint32_t color);

} // namespace tk
