// TTripBaseline: what a host's trip time usually is: the median of the
// echoes of the last ten minutes, kept in two ordered halves so that an echo
// entering and the old ones leaving each cost logarithmic time. Trip times
// are microseconds. Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <set>

#include "monitor/RunClock.h"

class TTripBaseline {
public:
    static constexpr TDuration Window = std::chrono::minutes(10);

    void Add(TInstant arrival, std::uint32_t tripUs);
    void Clear() { *this = TTripBaseline(); }
    std::size_t Count() const { return window_.size(); }
    // The lower median (rank ceil(n / 2)); 0 when empty.
    std::uint32_t Median() const { return low_.empty() ? 0 : *low_.rbegin(); }

private:
    struct TEcho {
        TInstant arrival;
        std::uint32_t tripUs;
    };
    void Remove(std::uint32_t tripUs);
    void Balance();

    std::deque<TEcho> window_;
    // Every value of low_ is at most every value of high_; low_ holds the
    // extra one of an odd count.
    std::multiset<std::uint32_t> low_, high_;
};
