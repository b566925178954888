// TReplyLog: the rows of the console's two lists, newest first: the echo
// replies of the reply list with the running sum of their trip times, and
// the error log's rows. It applies the trimming and "Ignore first ping"
// rules; the window's lists show its rows (owner data) and the chart
// follows each change. Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <deque>

#include "console/ReplyText.h"

// What one reply did to a list: the bottom (oldest) row may have gone
// first, then a new row may have gone in at the top.
struct TRowChange {
    bool RemovedOldest = false;
    bool Added = false;
};

class TReplyLog {
public:
    // An echo reply: counts it in `echoCount` (the console's FEchoCount),
    // drops it when "Ignore first ping" is on and it is the first, and
    // otherwise removes one oldest row when the list holds more than `limit`.
    TRowChange AddEcho(double& echoCount, const TReplyStatus& reply, int limit, bool ignoreFirst);
    // Any other reply: the error log is trimmed only with "Linet for Errors".
    TRowChange AddError(TErrorRow row, int limit, bool limitErrors);
    void ClearEchoes();
    void ClearErrors();

    int EchoRows() const { return static_cast<int>(echoes_.size()); }
    int ErrorRows() const { return static_cast<int>(errors_.size()); }
    // Row 0 is the newest.
    const TReplyStatus& Echo(int row) const { return echoes_.at(static_cast<std::size_t>(row)); }
    const TErrorRow& Error(int row) const { return errors_.at(static_cast<std::size_t>(row)); }
    // Exact: at most 10001 rows of 32-bit values.
    std::uint64_t TripTimeSum() const { return tripTimeSum_; }
    // The mean over exactly the rows held, 0 when there are none.
    double AverageTripTime() const;

private:
    std::deque<TReplyStatus> echoes_;
    std::deque<TErrorRow> errors_;
    std::uint64_t tripTimeSum_ = 0;
};
