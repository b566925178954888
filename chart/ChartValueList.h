// TChartValueList: one coordinate of a series' points (all X or all Y values)
// with cached statistics, kept in a ring with a tournament of its extremes and
// an exact sum of its whole values, so that the oldest value going and a newest
// coming cost the same at any count. GUI thread only, like the chart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum TChartListOrder { loNone, loAscending, loDescending };

// Where the first smallest and the first largest value of a range are.
struct TValueExtremes {
    int Min = -1, Max = -1;
};

class TChartValueList {
public:
    TChartListOrder Order = loNone;
    // Stored values are shown multiplied by this; the program keeps it at 1.
    double Multiplier = 1.0;

    int Count() const { return count_; }
    // std::out_of_range outside 0 .. Count() - 1.
    double Value(int index) const;
    // Unchecked, for loops that stay within the count.
    double operator[](int index) const { return slots_[Slot(index)]; }

    // The index at which a new value goes under Order: the end for loNone and
    // for values not before the last one; otherwise a scan backwards from the
    // end, so that equal values keep their arrival order and appends cost O(1).
    int InsertionIndex(double value) const;
    // At either end no other value moves: the tournament is played again above
    // the one slot, most often for a level or two, and the ring doubles now and
    // then. Elsewhere the values behind the index move.
    void Insert(int index, double value);
    void Delete(int index);
    void Clear();
    void SetValue(int index, double value);

    // Read as if recomputed in one pass in index order: the first value sets
    // minimum and maximum, each later one lowers or raises them, and both totals
    // are the sums in that order. While every value is a whole number (see
    // below) the sums are exact, so a 64-bit integer sum gives them bit for bit;
    // any other value makes the next read pass over all values.
    double MinValue() const;
    double MaxValue() const;
    double Total() const;
    double TotalABS() const;

    // The first smallest and first largest value in [first, last), which must
    // not be empty, in O(log Count()); meaningful only while no value is NaN.
    TValueExtremes Extremes(int first, int last) const;
    // How many values are NaN or infinite.
    int NonFiniteCount() const { return nonFinite_; }

    // How many times the statistics were brought up to date; lets tests and
    // benchmarks see the caching.
    unsigned long StatisticPasses() const { return passes_; }

private:
    static constexpr std::int32_t kNone = -1;
    struct Winners {
        std::int32_t min = kNone, max = kNone; // slots
    };

    std::size_t Slot(int index) const { return (head_ + static_cast<std::size_t>(index)) & mask_; }
    std::size_t Capacity() const { return slots_.size(); }
    bool Occupied(std::size_t slot) const { return ((slot - head_) & mask_) < static_cast<std::size_t>(count_); }
    Winners WinnersOf(std::size_t node) const;
    Winners Play(Winners left, Winners right) const;
    void Grow();
    void Rebuild();
    void Replay(std::size_t slot);
    void Account(double value, int sign);
    void Recalc() const;
    void RecalcByPass() const;

    // Capacity a power of two; the values are slots head_ .. head_ + count_ - 1,
    // modulo the capacity.
    std::vector<double> slots_;
    std::size_t head_ = 0, mask_ = 0;
    int count_ = 0;
    // The tournament: node n (1 .. capacity - 1) holds the winners of nodes 2n
    // and 2n + 1; node capacity + s is slot s. Ties go to the lower slot.
    std::vector<Winners> nodes_;
    // The whole values' sum and sum of magnitudes, and how many values are not
    // whole: not an integer, beyond 2^32, negative zero, NaN or infinite.
    std::int64_t sum_ = 0;
    std::uint64_t absSum_ = 0;
    int inexact_ = 0, nonFinite_ = 0;

    mutable bool dirty_ = false;
    mutable double min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
    mutable unsigned long passes_ = 0;
};
