// The host history's rules: host.txt's line ends, and how a pinged host
// enters the list (the examples of the console's design).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/HostHistory.h"

using Hosts = std::vector<std::string>;

TEST(HostFile, EveryLineEndEndsALineAndLinesStayAsTheyAre)
{
    struct Case {
        std::string text;
        Hosts lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},              // lone CR, lone LF, no final break
        {"a\n\r\nb", {"a", "", "b"}},              // LF then CR LF: a blank line between
        {"a\r\r\n", {"a", ""}},
        {"\r\n", {""}},
        {" x \r\n\t\r\n", {" x ", "\t"}},          // not trimmed
        {std::string("n\0ul\n", 5), {std::string("n\0ul", 4)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitHostLines(c.text), c.lines);
    }
    EXPECT_EQ(JoinHostLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinHostLines({}), "");
}

TEST(HostFile, AHundredThousandLinesAndAMegabyteLine)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "host" + std::to_string(i) + "\r\n";
    text += std::string(1 << 20, 'm');
    Hosts lines = SplitHostLines(text);
    ASSERT_EQ(lines.size(), 100001u);
    EXPECT_EQ(lines[99999], "host99999");
    EXPECT_EQ(lines.back().size(), 1u << 20);
}

TEST(HostHistory, APingedHostGoesToTheTopOnce)
{
    struct Case {
        const char* what;
        Hosts before;
        std::string typed;
        int maxHosts;
        Hosts after;
        HostChange::Kind kind;
    };
    const Case cases[] = {
        {"blank text", {"a"}, " \t ", 10, {"a"}, HostChange::Kind::None},
        {"new, trimmed", {"a"}, "  b.example.com\t", 10, {"b.example.com", "a"}, HostChange::Kind::Inserted},
        {"into an empty list", {}, "a", 10, {"a"}, HostChange::Kind::Inserted},
        {"at the top", {"a", "b"}, "a", 10, {"a", "b"}, HostChange::Kind::Unchanged},
        {"upper case third, typed lower", {"x", "y", "HOST.ORG", "z"}, "host.org", 10,
         {"host.org", "x", "y", "z"}, HostChange::Kind::Moved},
        {"case of other letters counts", {"x", "\xC4" "b"}, "\xE4" "b", 10, {"\xE4" "b", "x", "\xC4" "b"},
         HostChange::Kind::Inserted},
        {"only the first equal entry goes", {"x", "a", "A"}, "a", 10, {"a", "x", "A"}, HostChange::Kind::Moved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hosts hosts = c.before;
        EXPECT_EQ(AddHost(hosts, c.typed, c.maxHosts).kind, c.kind);
        EXPECT_EQ(hosts, c.after);
    }
}

// Fifteen loaded entries and a limit of 10: a new host keeps 15, a listed
// one shrinks the list by one each time, down to 10.
TEST(HostHistory, TheLimitTakesOneEntryPerPing)
{
    Hosts hosts;
    for (int i = 0; i < 15; ++i)
        hosts.push_back("h" + std::to_string(i));
    HostChange change = AddHost(hosts, "new", 10);
    EXPECT_TRUE(change.removedLast);
    EXPECT_EQ(hosts.size(), 15u);
    EXPECT_EQ(hosts.front(), "new");
    EXPECT_EQ(hosts.back(), "h13");
    std::size_t expected = 15;
    for (int i = 0; i < 8; ++i) {
        expected = std::max<std::size_t>(expected - 1, 10);
        AddHost(hosts, hosts[1], 10);
        EXPECT_EQ(hosts.size(), expected);
    }
    AddHost(hosts, hosts[0], 10);
    EXPECT_EQ(hosts.size(), 10u);
}
