// FocusCycle: where Tab and Shift+Tab take the keyboard focus among a
// window's stops in Tab order, skipping those that cannot take it now
// (hidden or disabled) and wrapping around at either end. Portable.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace tk {

// The stop after `from` (before it when `backwards`); from none, the first
// usable stop (the last one backwards). None when no stop is usable.
std::optional<std::size_t> NextFocusStop(const std::vector<bool>& usable, std::optional<std::size_t> from,
                                         bool backwards);

} // namespace tk
