// What the user is told of the watched host and when: the options of the
// link model's judgement and alerts, kept by the monitoring run and saved in
// the settings file's "Alerts" section. Plain data; portable.
#pragma once

struct TAlertOptions {
    static constexpr int DownAfterLimit = 10;
    static constexpr int UpAfterLimit = 5;
    // SlowAbove's meanings beside a threshold in milliseconds.
    static constexpr int SlowAutomatic = -1;
    static constexpr int SlowOff = 0;
    static constexpr int SlowAboveLow = 10;
    static constexpr int SlowAboveHigh = 60000;

    bool Notify = true;
    bool Sound = true;
    int DownAfter = 3; // failures in a row, 1 to DownAfterLimit
    int UpAfter = 2;   // echoes in a row, 1 to UpAfterLimit
    int SlowAbove = SlowAutomatic;
    bool PauseWhenFlapping = true;
    bool operator==(const TAlertOptions&) const = default;
};
