// The rules of the numeric field and the colour chooser's list.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <string_view>

#include "toolkit/ColorList.h"
#include "toolkit/SpinValue.h"

namespace {

TEST(SpinValue, ReadsAsTypedClampsOnSetStepsAndCommitsOnExit)
{
    const tk::SpinValue timeout(100, 10000, 1), buffer(1024, 102400, 1024), fixed(5, 5, 1);
    const struct {
        const tk::SpinValue& field;
        std::string_view text;
        int read, up, down;
        std::optional<int> committed;
    } cases[] = {
        {timeout, "1000", 1000, 1001, 999, std::nullopt},
        {timeout, "50", 50, 100, 100, 100}, // typed, not yet committed
        {timeout, "", 100, 101, 100, std::nullopt},
        {timeout, "abc", 100, 101, 100, std::nullopt},
        {timeout, "0x3E8", 1000, 1001, 999, std::nullopt},
        {timeout, "$10", 16, 100, 100, 100},
        {timeout, "20000", 20000, 10000, 10000, 10000},
        {buffer, "102400", 102400, 102400, 101376, std::nullopt},
        {buffer, "8192", 8192, 9216, 7168, std::nullopt},
        {fixed, "-7", -7, -6, -8, std::nullopt}, // equal bounds: no clamping
        {fixed, "2147483647", INT_MAX, INT_MAX, INT_MAX - 1, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.field.Read(c.text), c.read) << c.text;
        EXPECT_EQ(c.field.Step(c.text, true), c.up) << c.text;
        EXPECT_EQ(c.field.Step(c.text, false), c.down) << c.text;
        EXPECT_EQ(c.field.Committed(c.text), c.committed) << c.text;
    }
    EXPECT_EQ(timeout.Clamp(5), 100);
    EXPECT_EQ(timeout.Clamp(INT64_C(1) << 40), 10000);
    EXPECT_EQ(fixed.Clamp(INT64_C(1) << 40), INT_MAX);
}

TEST(SpinValue, TakesSignsDigitsTheSeparatorAndEditingKeysOnly)
{
    using tk::SpinKey;
    for (char c : std::string("+-0123456789,"))
        EXPECT_EQ(tk::FilterSpinKey(static_cast<unsigned char>(c), ','), SpinKey::Accept) << c;
    for (char c : std::string("aZx$. /"))
        EXPECT_EQ(tk::FilterSpinKey(static_cast<unsigned char>(c), ','), SpinKey::Refuse) << c;
    EXPECT_EQ(tk::FilterSpinKey('.', '.'), SpinKey::Accept);
    EXPECT_EQ(tk::FilterSpinKey(0xE4, ','), SpinKey::Refuse) << "a letter of the code page";
    for (unsigned c : {0x08u, 0x03u, 0x16u, 0x18u, 0x1Au, 0x7Fu})
        EXPECT_EQ(tk::FilterSpinKey(c, ','), SpinKey::Accept) << c;
    for (unsigned c : {0x0Du, 0x0Au, 0x09u, 0x1Bu})
        EXPECT_EQ(tk::FilterSpinKey(c, ','), SpinKey::Ignore) << c;
}

TEST(ColorList, FiftyDistinctEntriesInTheChoosersOrder)
{
    const auto list = tk::ColorList();
    ASSERT_EQ(list.size(), 50u);
    std::set<std::uint32_t> values;
    std::set<std::string> names;
    for (const tk::NamedColor& c : list) {
        values.insert(c.value);
        names.insert(c.name);
        EXPECT_EQ(std::string(c.name).rfind("cl", 0), 0u) << c.name;
    }
    EXPECT_EQ(values.size(), 50u);
    EXPECT_EQ(names.size(), 50u);
    const struct {
        std::size_t index;
        const char* name;
        std::uint32_t value;
    } landmarks[] = {
        {0, "clBlack", 0x000000},        {6, "clTeal", 0x808000},       {11, "clYellow", 0x00FFFF},
        {15, "clWhite", 0xFFFFFF},       {16, "clMoneyGreen", 0xC0DCC0}, {19, "clMedGray", 0xA4A0A0},
        {20, "clActiveBorder", 0x8000000A}, {44, "clScrollBar", 0x80000000}, {49, "clWindowText", 0x80000008},
    };
    for (const auto& l : landmarks) {
        EXPECT_STREQ(list[l.index].name, l.name);
        EXPECT_EQ(list[l.index].value, l.value) << l.name;
        EXPECT_EQ(tk::FindColor(l.value), l.index) << l.name;
        EXPECT_EQ(tk::ColorName(l.value), l.name);
    }
    EXPECT_FALSE(tk::FindColor(0x00123456).has_value());
    EXPECT_EQ(tk::ColorName(0x00123456), "$00123456");
    EXPECT_EQ(tk::ColorName(0x80000040), "$80000040");
}

} // namespace
