#include "chart/FailureMarks.h"

void TFailureMarks::Add(double afterX)
{
    if (!groups_.empty() && groups_.back().AfterX == afterX)
        ++groups_.back().Count;
    else
        groups_.push_back({afterX, 1});
}

void TFailureMarks::TrimBefore(double firstX)
{
    while (!groups_.empty() && groups_.front().AfterX < firstX)
        groups_.pop_front();
}
