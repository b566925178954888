// SpinEdit: a numeric field, a standard edit control (subclassed to filter
// keys) with two arrow buttons at its right edge. The rules live in
// SpinValue; this is their window. Up/Down keys and the arrows step the
// value, holding an arrow repeats; leaving the field, or disabling it while
// it has the focus, clamps a value outside the range. Enter is never text:
// the form's dialog keys take it to the default button. GUI thread only.
#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/SpinValue.h"
#include "toolkit/WinControl.h"

namespace tk {

class SpinEdit : public WinControl {
public:
    SpinEdit(Component* owner, WinControl* parent, Rect bounds, int minValue, int maxValue, int increment, int value);

    // The text as typed, or the minimum when it is no whole number.
    int Value() const;
    // Value() clamped into the range: what the program may use while a
    // value outside it is still being typed.
    int ClampedValue() const { return rules_.Clamp(Value()); }
    // Clamped into the range and written as decimal text.
    void SetValue(int value);
    int MinValue() const { return rules_.MinValue(); }
    int MaxValue() const { return rules_.MaxValue(); }
    int Increment() const { return rules_.Increment(); }

    // One step up or down, as the arrow keys and buttons do.
    void Step(bool up);

    // Raised whenever the text changes, typed or set.
    NotifyEvent OnChange;

    void Command(unsigned code) override;

protected:
    LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class Arrows;
    void Commit();
    void PlaceArrows();
    void RepaintArrows();
    void SetTextMargin();
    // The text a value is shown as: clamped to the limits.
    std::string ValueText(int value) const;

    SpinValue rules_;
    char decimalSeparator_;
    Arrows* arrows_ = nullptr; // owned as a component
};

} // namespace tk
