#include "toolkit/FocusCycle.h"

namespace tk {

std::optional<std::size_t> NextFocusStop(const std::vector<bool>& usable, std::optional<std::size_t> from,
                                         bool backwards)
{
    const std::size_t n = usable.size();
    if (n == 0)
        return std::nullopt;
    // Starting from none is starting just outside either end.
    std::size_t at = from && *from < n ? *from : (backwards ? 0 : n - 1);
    for (std::size_t step = 0; step < n; ++step) {
        at = backwards ? (at + n - 1) % n : (at + 1) % n;
        if (usable[at])
            return at;
    }
    return std::nullopt;
}

} // namespace tk
