#include "toolkit/UniqueHandle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;

struct FakeTraits {
    using Type = int;
    static int Invalid() { return -1; }
    static void Close(int h) { closed.push_back(h); }
};

using Handle = tk::UniqueHandle<FakeTraits>;

class UniqueHandleTest : public testing::Test {
protected:
    void SetUp() override { closed.clear(); }
};

TEST_F(UniqueHandleTest, ClosesItsHandleOnceWhenItGoes)
{
    {
        Handle h(7);
        EXPECT_TRUE(h);
        EXPECT_EQ(h.Get(), 7);
    }
    EXPECT_EQ(closed, std::vector<int>{7});
}

TEST_F(UniqueHandleTest, NeverClosesTheInvalidValue)
{
    {
        Handle empty;
        Handle invalid(-1);
        EXPECT_FALSE(empty);
        EXPECT_FALSE(invalid);
    }
    EXPECT_TRUE(closed.empty());
}

TEST_F(UniqueHandleTest, MovingTransfersOwnership)
{
    {
        Handle a(1);
        Handle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), 1);
        Handle c(2);
        c = std::move(b); // c's own handle is closed now
        EXPECT_EQ(closed, std::vector<int>{2});
        EXPECT_EQ(c.Get(), 1);
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 1}));
}

TEST_F(UniqueHandleTest, ReleaseGivesTheHandleAway)
{
    {
        Handle h(3);
        EXPECT_EQ(h.Release(), 3);
        EXPECT_FALSE(h);
    }
    EXPECT_TRUE(closed.empty());
}

TEST_F(UniqueHandleTest, ResetClosesTheOldHandleButNotTheSameOne)
{
    Handle h(4);
    h.Reset(4);
    EXPECT_TRUE(closed.empty());
    h.Reset(5);
    EXPECT_EQ(closed, std::vector<int>{4});
    h.Reset();
    EXPECT_EQ(closed, (std::vector<int>{4, 5}));
    EXPECT_FALSE(h);
}

} // namespace
