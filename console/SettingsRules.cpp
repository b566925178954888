#include "console/SettingsRules.h"

#include "toolkit/IntegerText.h"

namespace {
constexpr const char* kData = "Data and Logs";
constexpr const char* kGraph = "Graph";
constexpr const char* kPing = "Ping";

constexpr std::array<SettingKey, 11> kKeys{{
    {SettingId::MaxLines, kData, "MaxLines", SettingKind::Integer, 100},
    {SettingId::LinesErrors, kData, "LinesErrors", SettingKind::Boolean, 0},
    // True by default although the check box starts unchecked.
    {SettingId::AutoClearLogs, kData, "AutoClearLogs", SettingKind::Boolean, 1},
    {SettingId::IgnoreFirst, kData, "IgnoreFirst", SettingKind::Boolean, 0},
    {SettingId::Graph3D, kGraph, "3D", SettingKind::Boolean, 0},
    {SettingId::AVGColor, kGraph, "AVGColor", SettingKind::Colour, 0x00FFFF},
    {SettingId::DataColor, kGraph, "DataColor", SettingKind::Colour, 0x808000},
    {SettingId::Repeat, kPing, "Repeat", SettingKind::Integer, 1000},
    {SettingId::TimeOut, kPing, "TimeOut", SettingKind::Integer, 1000},
    {SettingId::MaxHosts, kPing, "MaxHosts", SettingKind::Integer, 10},
    {SettingId::Buffer, kPing, "Buffer", SettingKind::Integer, 8192},
}};
} // namespace

const std::array<SettingKey, 11>& SettingKeys()
{
    return kKeys;
}

const SettingKey& SettingKeyOf(SettingId id)
{
    for (const SettingKey& key : kKeys)
        if (key.id == id)
            return key;
    return kKeys.front(); // unreachable: every id has its key
}

std::int32_t ReadSettingValue(const SettingKey& key, std::optional<std::string_view> stored)
{
    if (!stored)
        return key.defaultValue;
    std::int32_t value = tk::ParseIntegerOr(*stored, key.defaultValue);
    return key.kind == SettingKind::Boolean ? value != 0 : value;
}

std::string FormatSettingValue(const SettingKey& key, std::int32_t value)
{
    if (key.kind == SettingKind::Boolean)
        return value ? "1" : "0";
    return std::to_string(value);
}
