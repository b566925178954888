// The settings file's keys and values: how stored texts are read (with the
// program's one integer reading) and how values are written.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "console/SettingsRules.h"


TEST(SettingsFile, ElevenKeysInTheirWritingOrder)
{
    std::string order;
    for (const SettingKey& key : SettingKeys())
        order += std::string(key.section) + "/" + key.key + " ";
    EXPECT_EQ(order, "Data and Logs/MaxLines Data and Logs/LinesErrors Data and Logs/AutoClearLogs "
                     "Data and Logs/IgnoreFirst Graph/3D Graph/AVGColor Graph/DataColor Ping/Repeat "
                     "Ping/TimeOut Ping/MaxHosts Ping/Buffer ");
}

TEST(SettingsFile, StoredValuesAreReadOrFallBackToTheDefault)
{
    struct Case {
        SettingId id;
        std::optional<std::string> stored;
        std::int32_t read;
    };
    const Case cases[] = {
        {SettingId::TimeOut, std::nullopt, 1000},
        {SettingId::TimeOut, "0x3E8", 1000},
        {SettingId::TimeOut, "$3e8", 1000},
        {SettingId::TimeOut, "X3E8", 1000},
        {SettingId::TimeOut, "abc", 1000},
        {SettingId::TimeOut, "", 1000},
        {SettingId::TimeOut, "250", 250},
        {SettingId::MaxLines, "5", 5}, // clamping is the field's business
        {SettingId::MaxLines, "-20", -20},
        {SettingId::MaxLines, "12 monkeys", 100},
        {SettingId::LinesErrors, "2", 1},
        {SettingId::LinesErrors, "0", 0},
        {SettingId::AutoClearLogs, std::nullopt, 1},
        {SettingId::AutoClearLogs, "yes", 1},
        {SettingId::IgnoreFirst, "junk", 0},
        {SettingId::AVGColor, std::nullopt, 0x00FFFF},
        {SettingId::DataColor, std::nullopt, 0x808000},
        {SettingId::DataColor, "-2147483633", static_cast<std::int32_t>(0x8000000F)},
        {SettingId::DataColor, "$80000005", static_cast<std::int32_t>(0x80000005)},
        {SettingId::Buffer, "99999999999", 8192},
    };
    for (const Case& c : cases) {
        const SettingKey& key = SettingKeyOf(c.id);
        SCOPED_TRACE(std::string(key.key) + "=" + c.stored.value_or("(missing)"));
        EXPECT_EQ(ReadSettingValue(key, c.stored), c.read);
    }
}

TEST(SettingsFile, ValuesAreWrittenSoTheyReadBackTheSame)
{
    EXPECT_EQ(FormatSettingValue(SettingKeyOf(SettingId::LinesErrors), 1), "1");
    EXPECT_EQ(FormatSettingValue(SettingKeyOf(SettingId::LinesErrors), 0), "0");
    EXPECT_EQ(FormatSettingValue(SettingKeyOf(SettingId::MaxLines), -5), "-5");
    for (std::int32_t colour : {0x00FFFF, 0x808000, static_cast<std::int32_t>(0x8000000F), -1}) {
        const auto& key = SettingKeyOf(SettingId::AVGColor);
        std::string text = FormatSettingValue(key, colour);
        EXPECT_EQ(ReadSettingValue(key, text), colour) << text;
    }
}

TEST(SettingsFile, LoadOrderTakesEveryKeyOnce)
{
    std::array<int, 11> seen{};
    for (SettingId id : SettingLoadOrder())
        ++seen[static_cast<std::size_t>(id)];
    EXPECT_EQ(seen, (std::array<int, 11>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
}

// A save is checked by reading the file back: every key must hold exactly
// the text written, wherever it stands and whatever else the file holds.
TEST(SettingsFile, ReadBackFindsEveryValueOrTheOneThatIsMissing)
{
    SettingValues values{10, 1, 0, 1, 0, 255, 1193046, 1000, 500, 100, 1024};
    const std::string whole = "[Mine]\r\nTimeOut=7\r\n[data and logs]\r\nMaxLines=10\r\nLinesErrors=1\r\n"
                              "AutoClearLogs=0\r\n IgnoreFirst = 1 \r\n[Graph]\r\n3D=0\r\nAVGColor=255\r\n"
                              "DataColor=1193046\n[Ping]\rRepeat=1000\r\nTimeOut=500\r\nMaxHosts=100\r\nBuffer=1024";
    EXPECT_TRUE(HoldsSettings(whole, values));
    EXPECT_EQ(FindIniValue(whole, "Mine", "timeout"), "7");
    EXPECT_EQ(FindIniValue(whole, "Ping", "TimeOut"), "500");
    EXPECT_EQ(FindIniValue(whole, "Ping", "Time"), std::nullopt);
    const struct {
        const char* from;
        const char* to;
    } faults[] = {
        {"Buffer=1024", ""},           // the last write never reached the disk
        {"Buffer=1024", "Buffer=102"}, // cut off half way
        {"[Graph]", "[Grap]"},         // a section garbled
        {"3D=0", "3D="},
        {"LinesErrors=1", "LinesErrors=01"},
    };
    for (const auto& f : faults) {
        std::string cut = whole;
        cut.replace(cut.find(f.from), std::string(f.from).size(), f.to);
        EXPECT_FALSE(HoldsSettings(cut, values)) << f.to;
    }
    EXPECT_FALSE(HoldsSettings("", values));
}

// The "Alerts" section: each fallback, clamping, and a file that never
// gains the section while the options stay at their defaults.
TEST(SettingsFile, AlertsAreReadWithFallbacksAndWrittenOnlyWhenChanged)
{
    const TAlertOptions defaults;
    struct Case {
        const char* what;
        const char* ini;
        TAlertOptions expected;
    } cases[] = {
        {"no file", "", defaults},
        {"no section", "[Ping]\r\nDownAfter=5\r\n", defaults},
        {"all set", "[alerts]\r\nNotify=0\r\nSound=0\r\nDownAfter=5\r\nUpAfter=1\r\n", {false, false, 5, 1}},
        {"junk", "[Alerts]\r\nNotify=yes\r\nDownAfter=five\r\nUpAfter=\r\n", defaults},
        {"out of range", "[Alerts]\r\nDownAfter=99\r\nUpAfter=-3\r\nSound=7\r\n", {true, true, 10, 1}},
        {"hexadecimal", "[Alerts]\r\nDownAfter=$A\r\n", {true, true, 10, 2}},
        {"slow off, no pause", "[Alerts]\r\nSlowAbove=0\r\nPauseWhenFlapping=0\r\n", {true, true, 3, 2, 0, false}},
        {"slow above clamped", "[Alerts]\r\nSlowAbove=5\r\n", {true, true, 3, 2, 10, true}},
        {"slow above clamped high", "[Alerts]\r\nSlowAbove=99999\r\n", {true, true, 3, 2, 60000, true}},
        {"another negative is automatic", "[Alerts]\r\nSlowAbove=-7\r\nPauseWhenFlapping=x\r\n", defaults},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadAlertOptions(c.ini), c.expected) << c.what;

    EXPECT_TRUE(AlertSettingLines(defaults).empty());
    EXPECT_TRUE(HoldsAlertOptions("[Ping]\r\nRepeat=1000\r\n", defaults));
    EXPECT_FALSE(HoldsAlertOptions("[Alerts]\r\nNotify=1\r\n", defaults)) << "a section left from earlier must go";
    const TAlertOptions changed{true, false, 5, 2};
    std::string ini = "[Ping]\r\nRepeat=1000\r\n[Alerts]\r\n";
    for (const auto& [key, text] : AlertSettingLines(changed))
        ini += std::string(key) + "=" + text + "\r\n";
    EXPECT_EQ(ini, "[Ping]\r\nRepeat=1000\r\n[Alerts]\r\nNotify=1\r\nSound=0\r\nDownAfter=5\r\nUpAfter=2\r\n");
    EXPECT_TRUE(HoldsAlertOptions(ini, changed));
    EXPECT_EQ(ReadAlertOptions(ini), changed);
    EXPECT_FALSE(HoldsAlertOptions(ini, defaults));
    EXPECT_FALSE(HoldsAlertOptions("[Alerts]\r\nNotify=1\r\nSound=0\r\nDownAfter=5\r\n", changed));
    // A new option alone is written alone, and the four together stay out.
    const TAlertOptions slow{true, true, 3, 2, 200, true};
    ASSERT_EQ(AlertSettingLines(slow).size(), 1u);
    EXPECT_TRUE(HoldsAlertOptions("[Alerts]\r\nSlowAbove=200\r\n", slow));
    EXPECT_FALSE(HoldsAlertOptions(ini + "SlowAbove=200\r\n", slow));
    EXPECT_EQ(ReadAlertOptions("[Alerts]\r\nSlowAbove=200\r\n"), slow);
}
