#include "monitor/TripBaseline.h"

void TTripBaseline::Add(TInstant arrival, std::uint32_t tripUs)
{
    const TInstant oldest = arrival - Window;
    while (!window_.empty() && window_.front().arrival <= oldest) {
        Remove(window_.front().tripUs);
        window_.pop_front();
    }
    window_.push_back({arrival, tripUs});
    if (low_.empty() || tripUs <= *low_.rbegin())
        low_.insert(tripUs);
    else
        high_.insert(tripUs);
    Balance();
}

void TTripBaseline::Remove(std::uint32_t tripUs)
{
    if (!low_.empty() && tripUs <= *low_.rbegin())
        low_.erase(low_.find(tripUs));
    else
        high_.erase(high_.find(tripUs));
    Balance();
}

void TTripBaseline::Balance()
{
    if (low_.size() > high_.size() + 1) {
        high_.insert(*low_.rbegin());
        low_.erase(std::prev(low_.end()));
    } else if (high_.size() > low_.size()) {
        low_.insert(*high_.begin());
        high_.erase(high_.begin());
    }
}
