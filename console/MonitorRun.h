// TMonitorRun: one monitoring run, as both windows show it: the echo counter
// FEchoCount, the rows of the reply list and the error log (newest first)
// with the exact sum of the listed trip times, the watched host, whether
// repeat pinging runs and the chart's colours and view. It applies the
// trimming and "Ignore first ping" rules and tells its observers what each
// change did. It reads the time only through the clock it is given.
// Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "console/ReplyText.h"

namespace tk {
struct NumberSeparators;
}

// What one reply did to a list: the bottom (oldest) row may have gone
// first, then a new row may have gone in at the top.
struct TRowChange {
    bool RemovedOldest = false;
    bool Added = false;
};

// An echo reply's change, and the chart point that follows the new row:
// x is the echo counter, y the trip time. With RemovedOldest the chart's
// oldest point goes first.
struct TEchoChange : TRowChange {
    double X = 0;
    double Y = 0;
};

class TMonitorRun;

// A view of a run. Observers hear of each change once the run holds it, in
// the order they subscribed. No window messages are handled between the
// events of one reply, so a view may draw as soon as it is told.
class TMonitorRunObserver {
public:
    virtual void EchoAdded(const TMonitorRun&, const TEchoChange&) {}
    virtual void ErrorAdded(const TMonitorRun&, const TRowChange&) {}
    // The reply list and the counter were emptied; the error log was not.
    virtual void EchoesCleared(const TMonitorRun&) {}
    virtual void ErrorsCleared(const TMonitorRun&) {}
    // The figures are to be shown now (the console says when).
    virtual void StatisticsChanged(const TMonitorRun&) {}
    virtual void HostChanged(const TMonitorRun&) {}
    virtual void RepeatChanged(const TMonitorRun&) {}
    virtual void DataColorChanged(const TMonitorRun&) {}
    virtual void AverageColorChanged(const TMonitorRun&) {}
    virtual void View3DChanged(const TMonitorRun&) {}

protected:
    ~TMonitorRunObserver() = default;
};

class TMonitorRun {
public:
    using TClock = std::function<TMoment()>;
    explicit TMonitorRun(TClock clock);

    // Observers must outlive the run or unsubscribe first.
    void Subscribe(TMonitorRunObserver& observer);
    void Unsubscribe(TMonitorRunObserver& observer);

    // An echo reply: counts it, drops it when "Ignore first ping" is on and
    // it is the first since the last clear, else removes one oldest row when
    // the list holds more than `limit` (so a lowered limit shrinks nothing)
    // and puts the reply at the top with the clock's moment. Added is false
    // for a dropped reply.
    TEchoChange AddEcho(const TReplyStatus& reply, int limit, bool ignoreFirst);
    // Any other reply: the error log is trimmed only with "Linet for Errors".
    TRowChange AddError(TErrorRow row, int limit, bool limitErrors);
    // "Clear Data": the reply list, its sum and the counter.
    void ClearData();
    void ClearErrors();
    void PublishStatistics();

    void SetHost(const std::string& host);
    void SetRepeating(bool repeating);
    // 0x00BBGGRR, as the settings file and the colour boxes hold them.
    void SetDataColor(std::uint32_t color);
    void SetAverageColor(std::uint32_t color);
    void SetView3D(bool view3D);

    double EchoCount() const { return FEchoCount; }
    int EchoRows() const { return static_cast<int>(echoes_.size()); }
    int ErrorRows() const { return static_cast<int>(errors_.size()); }
    // Row 0 is the newest.
    const TReplyStatus& Echo(int row) const { return echoes_.at(static_cast<std::size_t>(row)); }
    const TErrorRow& Error(int row) const { return errors_.at(static_cast<std::size_t>(row)); }
    // When an echo row was made.
    const TMoment& EchoMoment(int row) const { return echoMoments_.at(static_cast<std::size_t>(row)); }
    // Exact: at most 10001 rows of 32-bit values.
    std::uint64_t TripTimeSum() const { return tripTimeSum_; }
    // The mean over exactly the rows held, 0 when there are none.
    double AverageTripTime() const;
    TLocalTime Now() const { return clock_().Local; }
    TMoment Moment() const { return clock_(); }

    const std::string& Host() const { return host_; }
    bool Repeating() const { return repeating_; }
    std::uint32_t DataColor() const { return dataColor_; }
    std::uint32_t AverageColor() const { return averageColor_; }
    bool View3D() const { return view3D_; }

private:
    void Notify(void (TMonitorRunObserver::*event)(const TMonitorRun&));

    TClock clock_;
    std::vector<TMonitorRunObserver*> observers_;
    // Counts every echo reply since the last clear, a dropped first one too;
    // the X value of chart points.
    double FEchoCount = 0;
    std::deque<TReplyStatus> echoes_;
    std::deque<TMoment> echoMoments_; // beside echoes_, row for row
    std::deque<TErrorRow> errors_;
    std::uint64_t tripTimeSum_ = 0;
    std::string host_;
    bool repeating_ = false;
    std::uint32_t dataColor_ = 0;
    std::uint32_t averageColor_ = 0;
    bool view3D_ = false;
};

// The average trip time as both windows' labels show it: two decimals,
// rounded on the exact quotient of the sum and the row count.
std::string AverageTripTimeText(const TMonitorRun& run, const tk::NumberSeparators& separators);
