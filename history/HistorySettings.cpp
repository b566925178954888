#include "history/HistorySettings.h"

#include "text/IntegerText.h"

namespace {
constexpr const char* kKeys[] = {"Keep", "Days"};
}

int SnapHistoryDays(int days)
{
    if (days <= 0)
        return THistoryOptions{}.Days;
    for (int allowed : THistoryOptions::AllowedDays)
        if (days <= allowed)
            return allowed;
    return THistoryOptions::AllowedDays.back();
}

THistoryOptions ReadHistoryOptions(const THistoryKeyLookup& lookup)
{
    const THistoryOptions defaults;
    auto read = [&](const char* key, int fallback) {
        const std::optional<std::string_view> stored = lookup(key);
        return stored ? txt::ParseIntegerOr(*stored, fallback) : fallback;
    };
    THistoryOptions options;
    options.Keep = read("Keep", defaults.Keep) != 0;
    options.Days = SnapHistoryDays(read("Days", defaults.Days));
    return options;
}

std::vector<std::pair<const char*, std::string>> HistorySettingLines(const THistoryOptions& options)
{
    if (options == THistoryOptions{})
        return {};
    return {{"Keep", options.Keep ? "1" : "0"}, {"Days", std::to_string(options.Days)}};
}

bool HoldsHistoryOptions(const THistoryKeyLookup& lookup, const THistoryOptions& options)
{
    const auto lines = HistorySettingLines(options);
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        const std::optional<std::string_view> stored = lookup(kKeys[i]);
        if (lines.empty() ? stored.has_value() : !stored || *stored != lines[i].second)
            return false;
    }
    return true;
}
