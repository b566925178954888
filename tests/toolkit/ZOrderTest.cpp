#include "toolkit/ZOrder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Item {
    std::string name;
    tk::Rect bounds;
    bool visible = true;
    bool enabled = true;
    bool Visible() const { return visible; }
    bool Enabled() const { return enabled; }
    bool Contains(tk::Point p) const { return bounds.Contains(p); }
};

std::string NameAt(const tk::ZOrder<Item>& order, tk::Point p)
{
    Item* item = order.At(p);
    return item ? item->name : "-";
}

// back: skin over everything; then two overlapping labels; a hidden picture
// and a disabled hot spot in front of them.
class ZOrderHitTest : public testing::Test {
protected:
    Item skin{"skin", {0, 0, 200, 100}};
    Item first{"first", {10, 10, 50, 20}};
    Item second{"second", {40, 10, 50, 20}};
    Item hidden{"hidden", {0, 0, 200, 100}, false};
    Item disabled{"disabled", {150, 50, 20, 20}, true, false};
    tk::ZOrder<Item> order;

    void SetUp() override
    {
        for (Item* i : {&skin, &first, &second, &hidden, &disabled})
            order.Add(i);
    }
};

TEST_F(ZOrderHitTest, FindsTheFrontMostVisibleEnabledControl)
{
    struct Case {
        tk::Point p;
        const char* expected;
    };
    const Case cases[] = {
        {{5, 5}, "skin"},      {{10, 10}, "first"},   {{39, 29}, "first"},  {{40, 10}, "second"},
        {{59, 29}, "second"},  {{60, 10}, "second"},  {{89, 29}, "second"}, {{90, 10}, "skin"},
        {{10, 30}, "skin"},    {{155, 55}, "skin"},   {{199, 99}, "skin"},  {{200, 50}, "-"},
        {{-1, 0}, "-"},        {{0, 100}, "-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameAt(order, c.p), c.expected) << c.p.x << "," << c.p.y;
}

TEST_F(ZOrderHitTest, RestackingChangesWhoIsHit)
{
    order.BringToFront(&first);
    EXPECT_EQ(NameAt(order, {45, 15}), "first");
    order.SendToBack(&first);
    EXPECT_EQ(NameAt(order, {15, 15}), "skin");
    EXPECT_EQ(order.BackToFront().front(), &first);
}

TEST_F(ZOrderHitTest, ShowingEnablingAndRemovingTakeEffectAtOnce)
{
    hidden.visible = true;
    EXPECT_EQ(NameAt(order, {45, 15}), "hidden");
    hidden.visible = false;
    disabled.enabled = true;
    EXPECT_EQ(NameAt(order, {155, 55}), "disabled");
    order.Remove(&second);
    EXPECT_EQ(NameAt(order, {45, 15}), "first");
    EXPECT_EQ(order.BackToFront().size(), 4u);
}

TEST_F(ZOrderHitTest, PaintingOrderIsCreationOrder)
{
    std::string names;
    for (Item* i : order.BackToFront())
        names += i->name + " ";
    EXPECT_EQ(names, "skin first second hidden disabled ");
}

} // namespace
