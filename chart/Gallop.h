// Searches for the first index where a condition that holds on a prefix
// stops holding. The galloping ones start where the answer is likely to be
// and step in doubling strides, so they cost the logarithm of the distance
// to the answer, not of the length: a paint's walk over thousands of points
// takes a few probes per pixel column. Portable.
#pragma once

#include <algorithm>

// The first index in [from, end) where inPrefix is false, or end; inPrefix
// holds on [from, answer) and on nothing after it.
template <class InPrefix>
int GallopFrom(int from, int end, InPrefix inPrefix)
{
    int lo = from - 1, hi = end; // inPrefix(lo) holds (or lo is before from); hi is past it
    for (int step = 1; lo + step < end; step *= 2) {
        if (!inPrefix(lo + step)) {
            hi = lo + step;
            break;
        }
        lo += step;
    }
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (inPrefix(mid) ? lo : hi) = mid;
    }
    return hi;
}

// The same, given that inPrefix(from) holds and the answer is most likely
// from + guess: probes there first, then gallops up or down.
template <class InPrefix>
int GallopNear(int from, int end, int guess, InPrefix inPrefix)
{
    const int at = std::min(from + std::max(guess, 1), end);
    if (at < end && inPrefix(at))
        return GallopFrom(at + 1, end, inPrefix);
    int lo = from, hi = at; // the answer is in (lo, hi]
    for (int step = 1; hi - step > lo; step *= 2) {
        if (inPrefix(hi - step)) {
            lo = hi - step;
            break;
        }
        hi -= step;
    }
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (inPrefix(mid) ? lo : hi) = mid;
    }
    return hi;
}

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
