// What the keyboard and a screen reader meet on the compact window, without
// Windows: the Tab walk through its items, and the name, role, value, state
// and default action each is described with; and the console's figures,
// named by the heading before them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CompactItems.h"
#include "toolkit/AccessibleItem.h"
#include "toolkit/FocusCycle.h"

using tk::AccessibleEntry;
using tk::AccessibleFacts;
using tk::AccessibleRole;

namespace {

constexpr unsigned kFocusable = tk::kAccessibleFocusable;
constexpr unsigned kInvisible = tk::kAccessibleInvisible;

// The window as it shows while repeat pinging is off (STOP hidden), with
// the focus on `focused`.
std::vector<AccessibleFacts> CompactFacts(const std::string& focused)
{
    std::vector<AccessibleFacts> facts;
    for (const TCompactItem& item : kCompactItems) {
        const std::string control = item.control;
        AccessibleFacts f;
        f.name = item.name;
        f.shortcut = item.shortcut;
        f.role = item.role;
        f.focusable = item.tabStop;
        f.focused = control == focused;
        f.visible = control != "Image5";
        f.clickable = control != "Image3";
        if (control == "lbHost")
            f.caption = "127.0.0.1";
        else if (control == "Label6")
            f.caption = "AVG Trip Time / Error";
        else if (control == "lbAVG")
            f.caption = "1,50 [ms] / 2 [err]";
        facts.push_back(f);
    }
    return facts;
}

std::vector<std::string> TabWalk(const std::vector<AccessibleFacts>& facts, bool backwards, int presses)
{
    std::vector<bool> usable;
    for (const AccessibleFacts& f : facts)
        usable.push_back(f.focusable && f.visible && f.enabled);
    std::vector<std::string> walk;
    std::optional<std::size_t> at;
    for (int i = 0; i < presses; ++i) {
        at = tk::NextFocusStop(usable, at, backwards);
        walk.push_back(at ? kCompactItems[*at].control : "(none)");
    }
    return walk;
}

} // namespace

TEST(CompactItems, TabVisitsTheItemsInReadingOrderAndWraps)
{
    const std::vector<AccessibleFacts> facts = CompactFacts("");
    EXPECT_EQ(TabWalk(facts, false, 7), (std::vector<std::string>{"lbHost", "lbAVG", "Image4", "Image2", "Image1",
                                                                  "SpeedButton1", "lbHost"}));
    EXPECT_EQ(TabWalk(facts, true, 3), (std::vector<std::string>{"SpeedButton1", "Image1", "Image2"}));

    std::vector<AccessibleFacts> running = facts;
    running[3].visible = false; // START hidden, STOP shown
    running[4].visible = true;
    EXPECT_EQ(TabWalk(running, false, 3), (std::vector<std::string>{"lbHost", "lbAVG", "Image5"}));

    std::vector<bool> none(3, false);
    EXPECT_FALSE(tk::NextFocusStop(none, std::nullopt, false));
    EXPECT_FALSE(tk::NextFocusStop({}, std::nullopt, true));
}

TEST(CompactItems, AReaderGetsANameRoleValueStateAndActionForEach)
{
    using R = AccessibleRole;
    const std::vector<AccessibleEntry> expected{
        {"Host", R::StaticText, "127.0.0.1", kFocusable, "Click", ""},
        {"AVG Trip Time / Error", R::StaticText, "", 0, "Click", ""},
        {"AVG Trip Time / Error", R::StaticText, "1,50 [ms] / 2 [err]", kFocusable, "Click", ""},
        {"Start repeat ping", R::PushButton, "", kFocusable | tk::kAccessibleFocused, "Press", "Ctrl+R"},
        {"End repeat ping", R::PushButton, "", kInvisible, "Press", "Ctrl+R"},
        {"ICMP echo monitor", R::Graphic, "", 0, "", ""},
        {"About", R::PushButton, "", kFocusable, "Press", "F1"},
        {"Setings", R::PushButton, "", kFocusable, "Press", ""},
        {"Close", R::PushButton, "", kFocusable, "Press", "Alt+F4"},
    };
    const std::vector<AccessibleEntry> got = tk::DescribeAccessibleItems(CompactFacts("Image4"));
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], expected[i]) << kCompactItems[i].control << ": " << got[i].name << " / " << got[i].value;
}

TEST(CompactItems, AFigureIsNamedByTheHeadingBeforeIt)
{
    using R = AccessibleRole;
    const auto text = [](const char* caption) {
        AccessibleFacts f;
        f.caption = caption;
        f.role = R::StaticText;
        return f;
    };
    AccessibleFacts disabled = text("Error count:");
    disabled.enabled = false;
    const std::vector<AccessibleEntry> got = tk::DescribeAccessibleItems(
        {text("AVG Trip Time:"), text("0,00 [ms]"), disabled, text("0"), text("Plain"), text("After plain")});
    const std::vector<AccessibleEntry> expected{
        {"AVG Trip Time:", R::StaticText, "", 0, ""},
        {"AVG Trip Time", R::StaticText, "0,00 [ms]", 0, ""},
        {"Error count:", R::StaticText, "", tk::kAccessibleUnavailable, ""},
        {"Error count", R::StaticText, "0", 0, ""},
        {"Plain", R::StaticText, "", 0, ""},
        {"After plain", R::StaticText, "", 0, ""},
    };
    EXPECT_EQ(got, expected);
}
