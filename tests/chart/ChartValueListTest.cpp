// The value list's cached statistics and its ordered insert position.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "chart/ChartValueList.h"

namespace {

TChartValueList ListOf(std::initializer_list<double> values)
{
    TChartValueList l;
    for (double v : values)
        l.Insert(l.Count(), v);
    return l;
}

} // namespace

TEST(ChartValueList, StatisticsInOnePass)
{
    struct Case {
        std::vector<double> values;
        double min, max, total, totalAbs;
    };
    const Case cases[] = {
        {{}, 0, 0, 0, 0},
        {{5}, 5, 5, 5, 5},
        {{-3}, -3, -3, -3, 3},
        {{3, 1, 2}, 1, 3, 6, 6},
        {{-2, 4, -6, 1}, -6, 4, -3, 13},
        {{7, 7, 7}, 7, 7, 21, 21},
        {{0, 4294967295.0}, 0, 4294967295.0, 4294967295.0, 4294967295.0},
    };
    for (const Case& c : cases) {
        TChartValueList l;
        for (double v : c.values)
            l.Insert(l.Count(), v);
        EXPECT_EQ(l.MinValue(), c.min);
        EXPECT_EQ(l.MaxValue(), c.max);
        EXPECT_EQ(l.Total(), c.total);
        EXPECT_EQ(l.TotalABS(), c.totalAbs);
        // An empty list was never changed, so there is nothing to recompute.
        EXPECT_EQ(l.StatisticPasses(), c.values.empty() ? 0u : 1u) << "four reads, one pass";
    }
}

TEST(ChartValueList, EveryChangeMakesTheStatisticsStale)
{
    struct Change {
        const char* what;
        std::function<void(TChartValueList&)> apply;
        double total;
    };
    const Change changes[] = {
        {"insert", [](TChartValueList& l) { l.Insert(0, 10); }, 16},
        {"delete", [](TChartValueList& l) { l.Delete(2); }, 3},
        {"set", [](TChartValueList& l) { l.SetValue(0, -4); }, 1},
        {"clear", [](TChartValueList& l) { l.Clear(); }, 0},
    };
    for (const Change& c : changes) {
        TChartValueList l = ListOf({1, 2, 3});
        EXPECT_EQ(l.Total(), 6);
        c.apply(l);
        EXPECT_EQ(l.Total(), c.total) << c.what;
        EXPECT_EQ(l.StatisticPasses(), 2u) << c.what;
        l.MinValue();
        l.MaxValue();
        EXPECT_EQ(l.StatisticPasses(), 2u) << c.what;
    }
}

TEST(ChartValueList, InsertionIndexFollowsTheOrder)
{
    struct Case {
        TChartListOrder order;
        double value;
        int index;
    };
    // List 1 3 3 5 (read in reverse for loDescending: 5 3 3 1).
    const Case cases[] = {
        {loNone, -100, 4},     {loAscending, 6, 4},  {loAscending, 5, 4},  {loAscending, 4, 3},
        {loAscending, 3, 3},   {loAscending, 2, 1},  {loAscending, 0, 0},  {loDescending, 0, 4},
        {loDescending, 3, 3},  {loDescending, 4, 1}, {loDescending, 9, 0},
    };
    for (const Case& c : cases) {
        TChartValueList l = c.order == loDescending ? ListOf({5, 3, 3, 1}) : ListOf({1, 3, 3, 5});
        l.Order = c.order;
        EXPECT_EQ(l.InsertionIndex(c.value), c.index) << c.order << " " << c.value;
    }
    TChartValueList empty;
    empty.Order = loAscending;
    EXPECT_EQ(empty.InsertionIndex(1), 0);
}

TEST(ChartValueList, OutOfRangeIndexesThrow)
{
    TChartValueList l = ListOf({1});
    EXPECT_THROW(l.Insert(2, 0), std::out_of_range);
    EXPECT_THROW(l.Insert(-1, 0), std::out_of_range);
    EXPECT_THROW(l.Delete(1), std::out_of_range);
    EXPECT_THROW(l.SetValue(1, 0), std::out_of_range);
    EXPECT_THROW(l.Value(-1), std::out_of_range);
}
