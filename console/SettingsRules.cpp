#include "console/SettingsRules.h"

#include <algorithm>

#include "console/HostHistory.h"
#include "text/AsciiCase.h"
#include "text/IntegerText.h"

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
    std::int32_t value = txt::ParseIntegerOr(*stored, key.defaultValue);
    return key.kind == SettingKind::Boolean ? value != 0 : value;
}

std::string FormatSettingValue(const SettingKey& key, std::int32_t value)
{
    if (key.kind == SettingKind::Boolean)
        return value ? "1" : "0";
    return std::to_string(value);
}

const std::array<SettingId, 11>& SettingLoadOrder()
{
    static constexpr std::array<SettingId, 11> order{
        SettingId::MaxLines, SettingId::LinesErrors, SettingId::AutoClearLogs, SettingId::IgnoreFirst,
        SettingId::Graph3D,  SettingId::AVGColor,    SettingId::DataColor,     SettingId::TimeOut,
        SettingId::Repeat,   SettingId::MaxHosts,    SettingId::Buffer};
    return order;
}

namespace {
std::string_view NextLine(std::string_view& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return TrimControls(line);
}
} // namespace

std::optional<std::string_view> FindIniValue(std::string_view ini, std::string_view section, std::string_view key)
{
    bool inSection = false;
    while (!ini.empty()) {
        std::string_view line = NextLine(ini);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos && txt::EqualsIgnoringCase(TrimControls(line.substr(1, close - 1)), section);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inSection && eq != std::string_view::npos && txt::EqualsIgnoringCase(TrimControls(line.substr(0, eq)), key))
            return TrimControls(line.substr(eq + 1));
    }
    return std::nullopt;
}

namespace {

std::int32_t ReadAlertValue(std::string_view ini, const char* key, std::int32_t fallback)
{
    const std::optional<std::string_view> stored = FindIniValue(ini, kAlertsSection, key);
    return stored ? txt::ParseIntegerOr(*stored, fallback) : fallback;
}

std::int32_t Clamp(std::int32_t value, std::int32_t low, std::int32_t high)
{
    return value < low ? low : value > high ? high : value;
}

// -1 automatic, 0 off, else milliseconds within their range.
std::int32_t ClampSlowAbove(std::int32_t value)
{
    if (value == TAlertOptions::SlowAutomatic || value == TAlertOptions::SlowOff)
        return value;
    return value < 0 ? TAlertOptions::SlowAutomatic : Clamp(value, TAlertOptions::SlowAboveLow, TAlertOptions::SlowAboveHigh);
}

constexpr const char* kAlertKeys[] = {"Notify", "Sound", "DownAfter", "UpAfter", "SlowAbove", "PauseWhenFlapping"};

} // namespace

TAlertOptions ReadAlertOptions(std::string_view ini)
{
    const TAlertOptions defaults;
    TAlertOptions options;
    options.Notify = ReadAlertValue(ini, "Notify", defaults.Notify) != 0;
    options.Sound = ReadAlertValue(ini, "Sound", defaults.Sound) != 0;
    options.DownAfter = Clamp(ReadAlertValue(ini, "DownAfter", defaults.DownAfter), 1, TAlertOptions::DownAfterLimit);
    options.UpAfter = Clamp(ReadAlertValue(ini, "UpAfter", defaults.UpAfter), 1, TAlertOptions::UpAfterLimit);
    options.SlowAbove = ClampSlowAbove(ReadAlertValue(ini, "SlowAbove", defaults.SlowAbove));
    options.PauseWhenFlapping = ReadAlertValue(ini, "PauseWhenFlapping", defaults.PauseWhenFlapping) != 0;
    return options;
}

std::vector<std::pair<const char*, std::string>> AlertSettingLines(const TAlertOptions& options)
{
    // The first four go together, as they always have; each later key only
    // when it is not its default, so that a file stays as it was for a user
    // who never touched it.
    const TAlertOptions d;
    std::vector<std::pair<const char*, std::string>> lines;
    if (options.Notify != d.Notify || options.Sound != d.Sound || options.DownAfter != d.DownAfter ||
        options.UpAfter != d.UpAfter)
        lines = {{"Notify", options.Notify ? "1" : "0"},
                 {"Sound", options.Sound ? "1" : "0"},
                 {"DownAfter", std::to_string(options.DownAfter)},
                 {"UpAfter", std::to_string(options.UpAfter)}};
    if (options.SlowAbove != d.SlowAbove)
        lines.emplace_back("SlowAbove", std::to_string(options.SlowAbove));
    if (options.PauseWhenFlapping != d.PauseWhenFlapping)
        lines.emplace_back("PauseWhenFlapping", options.PauseWhenFlapping ? "1" : "0");
    return lines;
}

bool HoldsAlertOptions(std::string_view ini, const TAlertOptions& options)
{
    const auto lines = AlertSettingLines(options);
    for (const char* key : kAlertKeys) {
        const std::optional<std::string_view> stored = FindIniValue(ini, kAlertsSection, key);
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return std::string_view(l.first) == key; });
        if (line == lines.end() ? stored.has_value() : !stored || *stored != line->second)
            return false;
    }
    return true;
}

bool HoldsSettings(std::string_view ini, const SettingValues& values)
{
    for (const SettingKey& key : kKeys) {
        const auto stored = FindIniValue(ini, key.section, key.key);
        if (!stored || *stored != FormatSettingValue(key, values[static_cast<std::size_t>(key.id)]))
            return false;
    }
    return true;
}

