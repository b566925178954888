// A binary search for the first index where a condition that holds on a
// prefix stops holding, over any indexed sequence (a value list's ring).
// Portable.
#pragma once

// A plain binary search over [first, last) with the probes of
// std::lower_bound, so that it answers alike even where the values are not
// in order (a NaN among them).
template <class InPrefix>
int BisectFrom(int first, int last, InPrefix inPrefix)
{
    for (int len = last - first; len > 0;) {
        const int half = len / 2;
        if (inPrefix(first + half)) {
            first += half + 1;
            len -= half + 1;
        } else {
            len = half;
        }
    }
    return first;
}
