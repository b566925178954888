#include "toolkit/SpinValue.h"

#include <algorithm>
#include <limits>

#include "text/IntegerText.h"

namespace tk {

int SpinValue::Read(std::string_view text) const
{
    return txt::ParseIntegerOr(text, minValue_);
}

int SpinValue::Clamp(std::int64_t value) const
{
    if (minValue_ != maxValue_) {
        // In this order, so that a range set up backwards still gives one answer.
        if (value < minValue_)
            return minValue_;
        if (value > maxValue_)
            return maxValue_;
    }
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

int SpinValue::Step(std::string_view text, bool up) const
{
    const std::int64_t value = Read(text);
    return Clamp(up ? value + increment_ : value - increment_);
}

std::optional<int> SpinValue::Committed(std::string_view text) const
{
    const std::optional<std::int32_t> value = txt::ParseInteger(text);
    if (!value || Clamp(*value) == *value)
        return std::nullopt;
    return Clamp(*value);
}

SpinKey FilterSpinKey(unsigned ch, char decimalSeparator)
{
    if (ch == '\r' || ch == '\n' || ch == '\t' || ch == 0x1B)
        return SpinKey::Ignore;
    if (ch < 0x20 || ch == 0x7F) // Backspace, the Ctrl combinations of copy, cut, paste, undo
        return SpinKey::Accept;
    const bool taken = ch == '+' || ch == '-' || (ch >= '0' && ch <= '9') ||
                       ch == static_cast<unsigned char>(decimalSeparator);
    return taken ? SpinKey::Accept : SpinKey::Refuse;
}

} // namespace tk
