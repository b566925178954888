// TTripTimeCounts: how many echoes had each trip time, to the microsecond,
// so that a percentile is exact. Times below DenseLimitMs (every time a
// receive time-out allows) are counted per millisecond in a Fenwick tree,
// made on the first one, and per microsecond in a block of a thousand
// counts for each millisecond that occurs; larger ones in an ordered map.
// Adding and the rank query take logarithmic time (and a scan of one block);
// memory is the tree's 64 KB plus 4 KB per distinct millisecond. Portable;
// GUI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class TTripTimeCounts {
public:
    static constexpr std::uint32_t DenseLimitMs = 16384;

    void Add(std::uint32_t tripUs);
    void Clear();
    std::uint64_t Count() const { return count_; }
    // The smallest trip time that at least `rank` of the counted echoes do
    // not exceed (rank 1 is the minimum); 0 when rank is 0 or beyond Count().
    std::uint32_t AtRank(std::uint64_t rank) const;
    // Bytes held, for the memory figure.
    std::size_t HeldBytes() const;

private:
    using TBlock = std::array<std::uint32_t, 1000>;

    std::vector<std::uint32_t> tree_; // Fenwick tree over milliseconds 0 .. DenseLimitMs - 1, 1-based
    std::vector<std::unique_ptr<TBlock>> blocks_; // per millisecond, its microseconds
    std::size_t blockCount_ = 0;
    std::uint64_t dense_ = 0;
    std::map<std::uint32_t, std::uint64_t> large_;
    std::uint64_t count_ = 0;
};
