// TTripTimeCounts: how many echoes had each whole-millisecond trip time, so
// that a percentile is exact. Times below DenseLimit (every time a receive
// time-out allows) are counted in a Fenwick tree, made on the first one;
// larger ones in an ordered map. Adding and the rank query take logarithmic
// time; memory is the tree's 64 KB plus a map entry per distinct large time.
// Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

class TTripTimeCounts {
public:
    static constexpr std::uint32_t DenseLimit = 16384;

    void Add(std::uint32_t tripMs);
    void Clear();
    std::uint64_t Count() const { return count_; }
    // The smallest trip time that at least `rank` of the counted echoes do
    // not exceed (rank 1 is the minimum); 0 when rank is 0 or beyond Count().
    std::uint32_t AtRank(std::uint64_t rank) const;
    // Bytes held, for the memory figure.
    std::size_t HeldBytes() const;

private:
    std::vector<std::uint32_t> tree_; // Fenwick tree over 0 .. DenseLimit - 1, 1-based
    std::uint64_t dense_ = 0;
    std::map<std::uint32_t, std::uint64_t> large_;
    std::uint64_t count_ = 0;
};
