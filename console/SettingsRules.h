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
