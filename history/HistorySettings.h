// The options of the history files and their place in the settings file:
// a section "History" with `Keep` (1 or 0, default 0) and `Days` (7, 30,
// 90 or 365, default 30), written, like the alert options, only when they
// differ from the defaults. The section's values are looked up by the
// caller (FindIniValue), so these rules read no file themselves. Portable.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "monitor/HistoryOptions.h"


inline constexpr const char* kHistorySection = "History";

// A key's stored text in the section "History", or nothing.
using THistoryKeyLookup = std::function<std::optional<std::string_view>(std::string_view key)>;

// A missing key, or a value that is no whole number, gives the default.
// Days between the allowed values go up to the next one (nothing is
// deleted sooner than asked), above 365 to 365, and 0 or less to the default.
THistoryOptions ReadHistoryOptions(const THistoryKeyLookup& lookup);
int SnapHistoryDays(int days);
// The keys and texts to write, in order: none while both are their
// defaults (a section left from earlier is then removed), else both.
std::vector<std::pair<const char*, std::string>> HistorySettingLines(const THistoryOptions& options);
// True when the section holds exactly what HistorySettingLines writes.
bool HoldsHistoryOptions(const THistoryKeyLookup& lookup, const THistoryOptions& options);
