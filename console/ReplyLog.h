// TReplyLog: what the console's two lists hold, kept beside them: the reply
// list's trip times in row order (newest first) with their running sum, and
// the error log's row count. It applies the trimming and "Ignore first ping"
// rules; the window mirrors each change into its lists and the chart.
// Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <deque>

// What one reply does to a list: the bottom (oldest) row may go first, then
// a new row may go in at the top.
struct TRowChange {
    bool RemovedOldest = false;
    bool Added = false;
};

class TReplyLog {
public:
    // An echo reply: counts it in `echoCount` (the console's FEchoCount),
    // drops it when "Ignore first ping" is on and it is the first, and
    // otherwise removes one oldest row when the list holds more than `limit`.
    TRowChange AddEcho(double& echoCount, std::uint32_t tripTime, int limit, bool ignoreFirst);
    // Any other reply: the error log is trimmed only with "Linet for Errors".
    TRowChange AddError(int limit, bool limitErrors);
    void ClearEchoes();
    void ClearErrors();

    int EchoRows() const { return static_cast<int>(tripTimes_.size()); }
    int ErrorRows() const { return errorRows_; }
    // Row i's trip time, row 0 the newest.
    std::uint32_t TripTime(int row) const { return tripTimes_.at(static_cast<std::size_t>(row)); }
    // Exact: at most 10001 rows of 32-bit values.
    std::uint64_t TripTimeSum() const { return tripTimeSum_; }
    // The mean over exactly the rows held, 0 when there are none.
    double AverageTripTime() const;

private:
    std::deque<std::uint32_t> tripTimes_;
    std::uint64_t tripTimeSum_ = 0;
    int errorRows_ = 0;
};
