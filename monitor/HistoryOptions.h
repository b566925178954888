// Whether the run's pings are kept in history files, and for how long: the
// options of "Keep history", kept by the monitoring run like the alert
// options and saved in the settings file's "History" section. Plain data;
// portable.
#pragma once

#include <array>

struct THistoryOptions {
    static constexpr std::array<int, 4> AllowedDays{7, 30, 90, 365};

    bool Keep = false; // "Keep history"
    int Days = 30;     // "Keep history for"
    bool operator==(const THistoryOptions&) const = default;
};
