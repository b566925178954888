// The value list's cached statistics and its ordered insert position.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
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

// The statistics as one pass in index order gives them.
struct PlainStatistics {
    double min = 0, max = 0, total = 0, totalAbs = 0;
    explicit PlainStatistics(const std::deque<double>& v)
    {
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (i == 0) {
                min = max = total = v[0]; // a first -0.0 stays -0.0
                totalAbs = std::fabs(v[0]);
                continue;
            }
            if (v[i] < min)
                min = v[i];
            else if (v[i] > max)
                max = v[i];
            total += v[i];
            totalAbs += std::fabs(v[i]);
        }
    }
};

std::uint64_t Bits(double v)
{
    return std::bit_cast<std::uint64_t>(v);
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

// 10^5 random changes, mostly a newest value in and the oldest out, so the
// ring wraps and grows; after each, the statistics match a plain pass bit for
// bit, and the extremes of a random range match a scan. Whole trip times stay
// on the running sum; the other mixes bring in values that need the pass.
TEST(ChartValueList, RingAndRunningSumMatchAPlainRecompute)
{
    struct Mix {
        const char* what;
        double (*value)(std::mt19937&);
    };
    const Mix mixes[] = {
        {"trip times", [](std::mt19937& r) { return static_cast<double>(r() % 2 ? r() % 400 : r()); }},
        {"signed whole", [](std::mt19937& r) { return static_cast<double>(static_cast<std::int32_t>(r()) >> (r() % 32)); }},
        {"odd values", [](std::mt19937& r) {
             constexpr double odd[] = {0.5, -0.0, NAN, INFINITY, -INFINITY, 1e300, 4294967296.0, -4294967297.0};
             return r() % 4 ? static_cast<double>(r() % 100) : odd[r() % 8];
         }},
    };
    for (const Mix& mix : mixes) {
        std::mt19937 rng(1234);
        TChartValueList list;
        std::deque<double> plain;
        for (int step = 0; step < 34000; ++step) {
            const int n = static_cast<int>(plain.size());
            const unsigned pick = rng() % 1000;
            const double v = mix.value(rng);
            const int at = n ? static_cast<int>(rng() % static_cast<unsigned>(n)) : 0;
            if (n == 0 || pick < 450) {
                list.Insert(n, v);
                plain.push_back(v);
            } else if (pick < 850 || n > 300) {
                list.Delete(0);
                plain.pop_front();
            } else if (pick < 900) {
                list.Insert(at, v);
                plain.insert(plain.begin() + at, v);
            } else if (pick < 950) {
                list.Delete(pick % 2 ? n - 1 : at);
                plain.erase(plain.begin() + (pick % 2 ? n - 1 : at));
            } else if (pick < 998) {
                list.SetValue(at, v);
                plain[static_cast<std::size_t>(at)] = v;
            } else {
                list.Clear();
                plain.clear();
            }
            const PlainStatistics want(plain);
            ASSERT_EQ(list.Count(), static_cast<int>(plain.size())) << mix.what << " " << step;
            ASSERT_EQ(Bits(list.MinValue()), Bits(want.min)) << mix.what << " " << step;
            ASSERT_EQ(Bits(list.MaxValue()), Bits(want.max)) << mix.what << " " << step;
            ASSERT_EQ(Bits(list.Total()), Bits(want.total)) << mix.what << " " << step;
            ASSERT_EQ(Bits(list.TotalABS()), Bits(want.totalAbs)) << mix.what << " " << step;
            if (plain.empty() || std::count_if(plain.begin(), plain.end(), [](double x) { return std::isnan(x); }))
                continue;
            const int a = static_cast<int>(rng() % plain.size());
            const int b = a + 1 + static_cast<int>(rng() % (plain.size() - static_cast<std::size_t>(a)));
            const auto first = plain.begin() + a, last = plain.begin() + b;
            const TValueExtremes e = list.Extremes(a, b);
            ASSERT_EQ(e.Min, std::min_element(first, last) - plain.begin()) << mix.what << " " << step;
            ASSERT_EQ(e.Max, std::max_element(first, last) - plain.begin()) << mix.what << " " << step;
        }
        for (int i = 0; i < list.Count(); ++i)
            EXPECT_EQ(Bits(list[i]), Bits(plain[static_cast<std::size_t>(i)])) << mix.what << " " << i;
    }
}
