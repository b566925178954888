// SpinValue: the rules of a numeric field apart from its window: reading the
// text, clamping, stepping, what leaving the field commits, and which typed
// characters it takes. Portable, so the rules are tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tk {

// Holding an arrow button repeats the step first after this long, then at this pace.
inline constexpr unsigned kSpinFirstRepeatMs = 400;
inline constexpr unsigned kSpinRepeatMs = 100;

class SpinValue {
public:
    SpinValue(int minValue, int maxValue, int increment)
        : minValue_(minValue), maxValue_(maxValue), increment_(increment)
    {
    }

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    int Increment() const { return increment_; }

    // The text as a whole number, unclamped (a value being typed reads as
    // typed); text that is no whole number reads as the minimum.
    int Read(std::string_view text) const;
    // Into the range, except when minimum and maximum are equal.
    int Clamp(std::int64_t value) const;
    // The value after one step up or down from the text.
    int Step(std::string_view text, bool up) const;
    // What leaving the field writes: the clamped value when the text is a
    // number outside the range, otherwise nothing (the text stays).
    std::optional<int> Committed(std::string_view text) const;

private:
    int minValue_;
    int maxValue_;
    int increment_;
};

enum class SpinKey {
    Accept, // goes into the text
    Refuse, // a printable key the field does not take: beep
    Ignore, // never text, and no beep (Enter, Tab, Escape)
};

// The verdict on a typed character (a WM_CHAR code): "+", "-", the digits
// and the locale's decimal separator are taken, as are the editing keys
// below the printable range; any other printable key is refused.
SpinKey FilterSpinKey(unsigned ch, char decimalSeparator);

} // namespace tk
