#include "chart/FailureMarks.h"

void TFailureMarks::Add(double afterX)
{
    if (!groups_.empty() && groups_.back().AfterX == afterX)
        ++groups_.back().Count;
    else
        groups_.push_back({afterX, 1});
    Changed();
}

void TFailureMarks::TrimBefore(double firstX)
{
    if (groups_.empty() || !(groups_.front().AfterX < firstX))
        return;
    while (!groups_.empty() && groups_.front().AfterX < firstX)
        groups_.pop_front();
    Changed();
}

void TFailureMarks::Clear()
{
    groups_.clear();
    Changed();
}

void TFailureMarks::Changed()
{
    static std::uint64_t last = 0; // GUI thread only, like the whole chart
    stamp_ = ++last;
}
