#include "toolkit/LocaleText.h"

#include <windows.h>

namespace tk {

namespace {

std::string LocaleText(LCTYPE what, const char* fallback)
{
    char buf[16] = {};
    // Returns the length with the terminating zero; 0 on failure.
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n - 1)) : std::string(fallback);
}

} // namespace

NumberSeparators ReadLocaleSeparators()
{
    return {LocaleText(LOCALE_SDECIMAL, "."), LocaleText(LOCALE_STHOUSAND, ",")};
}

std::string ReadLocaleTimeSeparator()
{
    return LocaleText(LOCALE_STIME, ":");
}

} // namespace tk
