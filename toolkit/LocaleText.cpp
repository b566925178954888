#include "toolkit/LocaleText.h"

#include <windows.h>

#include <optional>

namespace tk {

namespace {

std::string LocaleText(LCTYPE what, const char* fallback)
{
    char buf[16] = {};
    // Returns the length with the terminating zero; 0 on failure.
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n - 1)) : std::string(fallback);
}

// Read once until the settings change: each read asks the registry, and
// every number the windows show needs them.
struct LocaleCache {
    std::optional<txt::NumberSeparators> separators;
    std::optional<std::string> timeSeparator;
};

LocaleCache& Cache()
{
    static LocaleCache cache;
    return cache;
}

} // namespace

txt::NumberSeparators ReadLocaleSeparators()
{
    auto& cached = Cache().separators;
    if (!cached)
        cached = txt::NumberSeparators{LocaleText(LOCALE_SDECIMAL, "."), LocaleText(LOCALE_STHOUSAND, ",")};
    return *cached;
}

std::string ReadLocaleTimeSeparator()
{
    auto& cached = Cache().timeSeparator;
    if (!cached)
        cached = LocaleText(LOCALE_STIME, ":");
    return *cached;
}

void ForgetLocaleTexts()
{
    Cache() = {};
}

} // namespace tk
