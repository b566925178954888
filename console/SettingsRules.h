// The settings file's rules, apart from the file functions that read and
// write it: the eleven keys with their sections, defaults and kinds, the
// order in which they are written, and how values are read and written.
// Portable: no Windows here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "monitor/AlertOptions.h"

enum class SettingKind { Integer, Boolean, Colour };

enum class SettingId { MaxLines, LinesErrors, AutoClearLogs, IgnoreFirst, Graph3D, AVGColor, DataColor, Repeat,
                       TimeOut, MaxHosts, Buffer };

struct SettingKey {
    SettingId id;
    const char* section;
    const char* key;
    SettingKind kind;
    std::int32_t defaultValue;
};

inline constexpr const char* kSettingsFileName = "zentvorlumo.ini";
inline constexpr const char* kHostFileName = "host.txt";

// All eleven, in the order they are written ("Repeat" before "TimeOut").
const std::array<SettingKey, 11>& SettingKeys();
const SettingKey& SettingKeyOf(SettingId id);

// A stored value as the program takes it: hexadecimal after "$", "0x" or
// "x" (either case), else a signed decimal; anything else, and a missing
// value, gives the key's default. A Boolean is such an integer, true when
// it is not 0.
std::int32_t ReadSettingValue(const SettingKey& key, std::optional<std::string_view> stored);

// Integers and colours in signed decimal, Booleans as "1" or "0".
std::string FormatSettingValue(const SettingKey& key, std::int32_t value);

// One value per key, indexed by SettingId.
using SettingValues = std::array<std::int32_t, 11>;

// The order in which the settings are loaded into the window ("TimeOut"
// before "Repeat", unlike the order they are written in).
const std::array<SettingId, 11>& SettingLoadOrder();

// The value of `key` in `section` of a settings file's text as the
// private-profile functions find it: names compared without regard to the
// case of a-z, blanks around names and value ignored, the first match taken.
std::optional<std::string_view> FindIniValue(std::string_view ini, std::string_view section, std::string_view key);

// True when the text holds every key with exactly the text written for its
// value: a save is checked against what the file really holds afterwards.
bool HoldsSettings(std::string_view ini, const SettingValues& values);

// The "Alerts" section, beside the eleven keys: Notify and Sound (Booleans),
// DownAfter and UpAfter (integers, clamped to their ranges), SlowAbove (-1
// automatic, 0 off, else milliseconds clamped to 10 to 60000; another
// negative value reads as automatic) and PauseWhenFlapping (a Boolean). A
// missing file, section or key, or a value that is no integer, gives the
// default.
inline constexpr const char* kAlertsSection = "Alerts";
TAlertOptions ReadAlertOptions(std::string_view ini);
// The keys and texts to write, in order; none while every option is its
// default, so that the file of a user who never changed them stays as it
// was (a section left from earlier is then removed). Notify, Sound,
// DownAfter and UpAfter go together when one of them was changed; SlowAbove
// and PauseWhenFlapping each only when changed.
std::vector<std::pair<const char*, std::string>> AlertSettingLines(const TAlertOptions& options);
// True when the text holds exactly what AlertSettingLines writes.
bool HoldsAlertOptions(std::string_view ini, const TAlertOptions& options);

