#include "monitor/TripTimeCounts.h"

void TTripTimeCounts::Add(std::uint32_t tripUs)
{
    ++count_;
    const std::uint32_t ms = tripUs / 1000;
    if (ms >= DenseLimitMs) {
        ++large_[tripUs];
        return;
    }
    if (tree_.empty()) {
        tree_.assign(DenseLimitMs + 1, 0);
        blocks_.resize(DenseLimitMs);
    }
    ++dense_;
    for (std::uint32_t i = ms + 1; i <= DenseLimitMs; i += i & (0u - i))
        ++tree_[i];
    std::unique_ptr<TBlock>& block = blocks_[ms];
    if (!block) {
        block = std::make_unique<TBlock>();
        ++blockCount_;
    }
    ++(*block)[tripUs % 1000];
}

void TTripTimeCounts::Clear()
{
    *this = TTripTimeCounts();
}

std::uint32_t TTripTimeCounts::AtRank(std::uint64_t rank) const
{
    if (rank == 0 || rank > count_)
        return 0;
    if (rank <= dense_) {
        // Binary lifting: the largest position whose prefix stays below rank;
        // the millisecond sought is the next one.
        std::uint32_t pos = 0;
        std::uint64_t left = rank;
        for (std::uint32_t step = DenseLimitMs; step > 0; step >>= 1)
            if (pos + step <= DenseLimitMs && tree_[pos + step] < left) {
                pos += step;
                left -= tree_[pos];
            }
        // 1-based position pos + 1 holds millisecond pos; its block has the rest.
        const TBlock& block = *blocks_[pos];
        for (std::uint32_t us = 0; us < block.size(); ++us) {
            if (left <= block[us])
                return pos * 1000 + us;
            left -= block[us];
        }
        return 0;
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
    return tree_.capacity() * sizeof(std::uint32_t) + blocks_.capacity() * sizeof(blocks_[0]) +
           blockCount_ * sizeof(TBlock) + large_.size() * node;
}
