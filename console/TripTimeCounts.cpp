#include "console/TripTimeCounts.h"

void TTripTimeCounts::Add(std::uint32_t tripMs)
{
    ++count_;
    if (tripMs >= DenseLimit) {
        ++large_[tripMs];
        return;
    }
    if (tree_.empty())
        tree_.assign(DenseLimit + 1, 0);
    ++dense_;
    for (std::uint32_t i = tripMs + 1; i <= DenseLimit; i += i & (0u - i))
        ++tree_[i];
}

void TTripTimeCounts::Clear()
{
    tree_.clear();
    tree_.shrink_to_fit();
    large_.clear();
    dense_ = count_ = 0;
}

std::uint32_t TTripTimeCounts::AtRank(std::uint64_t rank) const
{
    if (rank == 0 || rank > count_)
        return 0;
    if (rank <= dense_) {
        // Binary lifting: the largest position whose prefix stays below rank;
        // the value sought is the next one.
        std::uint32_t pos = 0;
        std::uint64_t left = rank;
        for (std::uint32_t step = DenseLimit; step > 0; step >>= 1)
            if (pos + step <= DenseLimit && tree_[pos + step] < left) {
                pos += step;
                left -= tree_[pos];
            }
        return pos; // 1-based position pos + 1 holds trip time pos
    }
    std::uint64_t left = rank - dense_;
    for (const auto& [value, n] : large_) {
        if (left <= n)
            return value;
        left -= n;
    }
    return 0;
}

std::size_t TTripTimeCounts::HeldBytes() const
{
    // A map node: the pair and about four pointers' worth of tree links.
    constexpr std::size_t node = sizeof(std::pair<const std::uint32_t, std::uint64_t>) + 4 * sizeof(void*);
    return tree_.capacity() * sizeof(std::uint32_t) + large_.size() * node;
}
