#include "chart/ChartValueList.h"

#include <cmath>
#include <stdexcept>

namespace {

// Values up to 2^32 in magnitude: a trip time is an unsigned 32-bit number,
// and up to 2^31 of them sum within 64 bits.
constexpr double kWholeLimit = 4294967296.0;
// Sums of whole values are exact in a double up to 2^53, whatever their order.
constexpr std::uint64_t kExactLimit = std::uint64_t(1) << 53;

bool IsWhole(double v)
{
    return v >= -kWholeLimit && v <= kWholeLimit && static_cast<double>(static_cast<std::int64_t>(v)) == v &&
           !(v == 0 && std::signbit(v));
}

} // namespace

double TChartValueList::Value(int index) const
{
    if (index < 0 || index >= count_)
        throw std::out_of_range("value list index out of range");
    return (*this)[index];
}

int TChartValueList::InsertionIndex(double value) const
{
    int i = Count();
    if (Order == loAscending) {
        while (i > 0 && value < (*this)[i - 1])
            --i;
    } else if (Order == loDescending) {
        while (i > 0 && value > (*this)[i - 1])
            --i;
    }
    return i;
}

void TChartValueList::Insert(int index, double value)
{
    if (index < 0 || index > count_)
        throw std::out_of_range("value list index out of range");
    if (static_cast<std::size_t>(count_) == Capacity())
        Grow();
    Account(value, 1);
    dirty_ = true;
    if (index == count_ || index == 0) {
        if (index == 0)
            head_ = (head_ - 1) & mask_;
        ++count_;
        slots_[Slot(index)] = value;
        Replay(Slot(index));
        return;
    }
    ++count_;
    for (int i = count_ - 1; i > index; --i)
        slots_[Slot(i)] = (*this)[i - 1];
    slots_[Slot(index)] = value;
    Rebuild();
}

void TChartValueList::Delete(int index)
{
    if (index < 0 || index >= count_)
        throw std::out_of_range("value list index out of range");
    Account((*this)[index], -1);
    dirty_ = true;
    const std::size_t slot = Slot(index);
    if (index == 0 || index == count_ - 1) {
        if (index == 0)
            head_ = (head_ + 1) & mask_;
        --count_;
        Replay(slot);
        return;
    }
    for (int i = index; i + 1 < count_; ++i)
        slots_[Slot(i)] = (*this)[i + 1];
    --count_;
    Rebuild();
}

void TChartValueList::Clear()
{
    head_ = 0;
    count_ = 0;
    sum_ = 0;
    absSum_ = 0;
    inexact_ = nonFinite_ = 0;
    Rebuild();
    dirty_ = true;
}

void TChartValueList::SetValue(int index, double value)
{
    const std::size_t slot = Slot(index);
    Account(Value(index), -1);
    Account(value, 1);
    slots_[slot] = value;
    Replay(slot);
    dirty_ = true;
}

void TChartValueList::Account(double value, int sign)
{
    if (!std::isfinite(value))
        nonFinite_ += sign;
    if (!IsWhole(value)) {
        inexact_ += sign;
        return;
    }
    const auto v = static_cast<std::int64_t>(value);
    sum_ += sign * v;
    absSum_ += static_cast<std::uint64_t>(sign) * static_cast<std::uint64_t>(v < 0 ? -v : v);
}

void TChartValueList::Grow()
{
    std::vector<double> grown(Capacity() ? 2 * Capacity() : 8);
    for (int i = 0; i < count_; ++i)
        grown[static_cast<std::size_t>(i)] = (*this)[i];
    slots_ = std::move(grown);
    head_ = 0;
    mask_ = Capacity() - 1;
    nodes_.assign(Capacity(), Winners{});
    Rebuild();
}

TChartValueList::Winners TChartValueList::WinnersOf(std::size_t node) const
{
    if (node < Capacity())
        return nodes_[node];
    const std::size_t slot = node - Capacity();
    if (!Occupied(slot))
        return {};
    const auto s = static_cast<std::int32_t>(slot);
    return {s, s};
}

TChartValueList::Winners TChartValueList::Play(Winners left, Winners right) const
{
    // The right side wins only by being strictly smaller or larger, so the
    // first of equal values wins, as in a pass in index order.
    if (left.min == kNone)
        return right;
    if (right.min == kNone)
        return left;
    return {slots_[static_cast<std::size_t>(right.min)] < slots_[static_cast<std::size_t>(left.min)] ? right.min
                                                                                                     : left.min,
            slots_[static_cast<std::size_t>(right.max)] > slots_[static_cast<std::size_t>(left.max)] ? right.max
                                                                                                     : left.max};
}

void TChartValueList::Rebuild()
{
    for (std::size_t n = Capacity(); n-- > 1;)
        nodes_[n] = Play(WinnersOf(2 * n), WinnersOf(2 * n + 1));
}

void TChartValueList::Replay(std::size_t slot)
{
    const auto s = static_cast<std::int32_t>(slot);
    for (std::size_t n = (Capacity() + slot) / 2; n >= 1; n /= 2) {
        const Winners was = nodes_[n];
        const Winners now = Play(WinnersOf(2 * n), WinnersOf(2 * n + 1));
        // Above a node whose winners stayed, and are not the changed slot,
        // nothing can change.
        if (now.min == was.min && now.max == was.max && was.min != s && was.max != s)
            return;
        nodes_[n] = now;
    }
}

namespace {

// The first smallest and first largest value met so far, and their slots. A
// later contender takes the lead only by being strictly smaller or larger,
// so ties go to the first, as in a pass.
struct Leaders {
    double min, max;
    std::int32_t minSlot = -1, maxSlot = -1;

    void Meet(const double* values, std::int32_t low, std::int32_t high)
    {
        if (minSlot < 0 || values[low] < min) {
            min = values[low];
            minSlot = low;
        }
        if (maxSlot < 0 || values[high] > max) {
            max = values[high];
            maxSlot = high;
        }
    }
};

} // namespace

TValueExtremes TChartValueList::Extremes(int first, int last) const
{
    const std::size_t capacity = Capacity();
    const double* values = slots_.data();
    Leaders leaders;
    // Slots lo .. hi - 1 climbing the tournament: the nodes that cover them
    // on the left in order, then those on the right, met on the way up in
    // reverse. Nodes from `capacity` on are slots.
    auto climb = [&](std::size_t lo, std::size_t hi) {
        std::size_t right[64];
        int count = 0;
        for (lo += capacity, hi += capacity; lo < hi; lo /= 2, hi /= 2) {
            if (lo & 1) {
                if (lo >= capacity)
                    leaders.Meet(values, std::int32_t(lo - capacity), std::int32_t(lo - capacity));
                else
                    leaders.Meet(values, nodes_[lo].min, nodes_[lo].max);
                ++lo;
            }
            if (hi & 1)
                right[count++] = --hi;
        }
        while (count > 0) {
            const std::size_t node = right[--count];
            if (node >= capacity)
                leaders.Meet(values, std::int32_t(node - capacity), std::int32_t(node - capacity));
            else
                leaders.Meet(values, nodes_[node].min, nodes_[node].max);
        }
    };
    const std::size_t start = Slot(first), n = static_cast<std::size_t>(last - first);
    if (start + n <= capacity) {
        climb(start, start + n);
    } else {
        climb(start, capacity);
        climb(0, start + n - capacity);
    }
    auto index = [this](std::int32_t slot) {
        return static_cast<int>((static_cast<std::size_t>(slot) - head_) & mask_);
    };
    return {index(leaders.minSlot), index(leaders.maxSlot)};
}

double TChartValueList::MinValue() const
{
    Recalc();
    return min_;
}

double TChartValueList::MaxValue() const
{
    Recalc();
    return max_;
}

double TChartValueList::Total() const
{
    Recalc();
    return total_;
}

double TChartValueList::TotalABS() const
{
    Recalc();
    return totalAbs_;
}

void TChartValueList::Recalc() const
{
    if (!dirty_)
        return;
    dirty_ = false;
    ++passes_;
    min_ = max_ = total_ = totalAbs_ = 0;
    if (count_ == 0)
        return;
    if (inexact_ > 0 || absSum_ > kExactLimit) {
        RecalcByPass();
        return;
    }
    const TValueExtremes e = Extremes(0, count_);
    min_ = (*this)[e.Min];
    max_ = (*this)[e.Max];
    total_ = static_cast<double>(sum_);
    totalAbs_ = static_cast<double>(absSum_);
}

void TChartValueList::RecalcByPass() const
{
    min_ = max_ = total_ = (*this)[0];
    totalAbs_ = std::fabs(total_);
    for (int i = 1; i < count_; ++i) {
        const double v = (*this)[i];
        if (v < min_)
            min_ = v;
        else if (v > max_)
            max_ = v;
        total_ += v;
        totalAbs_ += std::fabs(v);
    }
}
