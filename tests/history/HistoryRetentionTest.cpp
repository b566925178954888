// Retention deletes only files of ours, and only old ones; the options'
// place in the settings file.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "history/HistoryRetention.h"
#include "history/HistorySettings.h"

namespace {

const TCivilTime kToday{2026, 12, 9};

TEST(HistoryRetention, DeletesOnlyOurNamesOlderThanTheDaysKept)
{
    struct Case {
        const char* name;
        int keepDays;
        bool expired;
    } cases[] = {
        {"zentvorlumo-2026-12-03.csv", 7, false}, // today and the six days before stay
        {"zentvorlumo-2026-12-02.csv", 7, true},
        {"zentvorlumo-2026-11-09.csv", 30, true},
        {"zentvorlumo-2026-11-10.csv", 30, false},
        {"zentvorlumo-2025-12-09.csv", 365, true},
        {"zentvorlumo-2025-12-10.csv", 365, false},
        {"zentvorlumo-2026-12-09.csv", 0, false}, // today's, whatever the caller passes
        {"zentvorlumo-2027-01-01.csv", 7, false}, // after a clock set back
        {"zentvorlumo-2024-02-29.csv", 7, true},
        // Not ours, however old they look.
        {"zentvorlumo-2023-02-29.csv", 7, false},
        {"zentvorlumo-2020-13-01.csv", 7, false},
        {"zentvorlumo-2020-00-10.csv", 7, false},
        {"zentvorlumo-errors-2020-01-01.csv", 7, false}, // a saved error log
        {"ZENTVORLUMO-2020-01-01.csv", 7, false},
        {"zentvorlumo-2020-01-01.CSV", 7, false},
        {"zentvorlumo-2020-01-01.csv.bak", 7, false},
        {"old zentvorlumo-2020-01-01.csv", 7, false},
        {"zentvorlumo-2020-1-01.csv", 7, false},
        {"zentvorlumo-2020-01-0a.csv", 7, false},
        {"zentvorlumo-2020_01_01.csv", 7, false},
        {"zentvorlumo-+020-01-01.csv", 7, false},
        {"", 7, false},
    };
    std::vector<std::wstring> names, expected;
    for (const Case& c : cases) {
        EXPECT_EQ(HistoryFileExpired(std::string_view(c.name), kToday, c.keepDays), c.expired) << c.name;
        if (c.keepDays != 7)
            continue;
        names.emplace_back(c.name, c.name + std::char_traits<char>::length(c.name));
        if (c.expired)
            expected.push_back(names.back());
    }
    EXPECT_EQ(ExpiredHistoryFiles(names, kToday, 7), expected);
    EXPECT_FALSE(HistoryFileDate(std::wstring_view(L"zentvorlumo-2020-01-01.cs\u0076\u0301")));
}

TEST(HistorySettings, ReadClampedWrittenOnlyWhenNotTheDefaults)
{
    using TSection = std::map<std::string, std::string, std::less<>>;
    struct Case {
        TSection stored;
        bool keep;
        int days;
    } cases[] = {
        {{}, false, 30},
        {{{"Keep", "1"}}, true, 30},
        {{{"Keep", "7"}, {"Days", "7"}}, true, 7},
        {{{"Keep", "yes"}, {"Days", "90"}}, false, 90},
        {{{"Days", "1"}}, false, 7},
        {{{"Days", "8"}}, false, 30},
        {{{"Days", "31"}}, false, 90},
        {{{"Days", "366"}}, false, 365},
        {{{"Days", "0"}}, false, 30},
        {{{"Days", "-7"}}, false, 30},
        {{{"Days", "$16D"}}, false, 365},
        {{{"Days", "many"}}, false, 30},
    };
    for (const Case& c : cases) {
        const THistoryKeyLookup lookup = [&](std::string_view key) -> std::optional<std::string_view> {
            const auto found = c.stored.find(key);
            return found == c.stored.end() ? std::nullopt : std::optional<std::string_view>(found->second);
        };
        const THistoryOptions options = ReadHistoryOptions(lookup);
        EXPECT_EQ(options.Keep, c.keep) << c.stored.size();
        EXPECT_EQ(options.Days, c.days) << c.stored.size();
    }
    EXPECT_TRUE(HistorySettingLines({}).empty());
    using TLines = std::vector<std::pair<const char*, std::string>>;
    const TLines lines = HistorySettingLines({true, 30});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_STREQ(lines[0].first, "Keep");
    EXPECT_EQ(lines[0].second, "1");
    EXPECT_STREQ(lines[1].first, "Days");
    EXPECT_EQ(lines[1].second, "30");
    // The save's read-back: exactly the lines written, or no key at all for the defaults.
    struct Holds {
        TSection stored;
        THistoryOptions options;
        bool holds;
    } holds[] = {
        {{}, {}, true},
        {{{"Keep", "0"}}, {}, false},
        {{{"Keep", "0"}, {"Days", "90"}}, {false, 90}, true},
        {{{"Keep", "1"}}, {true, 30}, false},
        {{{"Keep", "1"}, {"Days", "7"}}, {true, 30}, false},
    };
    for (const Holds& h : holds) {
        const THistoryKeyLookup lookup = [&](std::string_view key) -> std::optional<std::string_view> {
            const auto found = h.stored.find(key);
            return found == h.stored.end() ? std::nullopt : std::optional<std::string_view>(found->second);
        };
        EXPECT_EQ(HoldsHistoryOptions(lookup, h.options), h.holds) << h.stored.size() << " " << h.options.Days;
    }
}

} // namespace
