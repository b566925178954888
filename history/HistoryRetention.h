// Which files of the history folder are ours and which have outlived the
// option "Keep history for": only names exactly of the form
// `zentvorlumo-YYYY-MM-DD.csv` with a real date are ours, so a file the
// user put there is never deleted. The deletion itself is the Win32 side's.
// Portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/RunClock.h"

// The day a name of ours stands for; nothing for any other name. Names are
// compared exactly, case included.
std::optional<TCivilTime> HistoryFileDate(std::string_view name);
std::optional<TCivilTime> HistoryFileDate(std::wstring_view name);

// True for a file of ours from `keepDays` or more days before `today`: with
// 7, the files of today and the six days before stay. Files dated after
// today (a clock set back) stay too.
bool HistoryFileExpired(std::string_view name, const TCivilTime& today, int keepDays);
bool HistoryFileExpired(std::wstring_view name, const TCivilTime& today, int keepDays);

// The names among `names` to delete, in their order.
std::vector<std::wstring> ExpiredHistoryFiles(const std::vector<std::wstring>& names, const TCivilTime& today,
                                              int keepDays);
