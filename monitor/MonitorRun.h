// TMonitorRun: one monitoring run, as both windows show it: one record per
// ping, the listed ones newest first within the "Lines remember" limits
// (the reply list's with the exact sum of their trip times), the echo
// counter FEchoCount, the watched host, whether repeat pinging runs, the
// chart's colours and view and the alert options. It applies the trimming and "Ignore first
// ping" rules, reads the clock once per record and hands each record to its
// observers. Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "monitor/AlertOptions.h"
#include "monitor/HistoryOptions.h"
#include "monitor/PingRecord.h"

namespace txt {
struct NumberSeparators;
}

class TMonitorRun;

// A view of a run. Observers hear of each change once the run holds it, in
// the order they subscribed. No window messages are handled between the
// events of one record, so a view may draw as soon as it is told.
class TMonitorRunObserver {
public:
    // A listed record, now row 0 of its list; `removedOldest` when the
    // list's bottom row went first.
    virtual void EchoAdded(const TMonitorRun&, const TPingRecord&, bool /*removedOldest*/) {}
    virtual void FailureAdded(const TMonitorRun&, const TPingRecord&, bool /*removedOldest*/) {}
    // A ping that raised an error: it is in no list.
    virtual void NotSentAdded(const TMonitorRun&, const TPingRecord&) {}
    // The computer slept, now over.
    virtual void SleepAdded(const TMonitorRun&, const TSleep&) {}
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
    virtual void AlertOptionsChanged(const TMonitorRun&) {}
    virtual void HistoryOptionsChanged(const TMonitorRun&) {}

protected:
    ~TMonitorRunObserver() = default;
};

// The list limits in force when a record comes.
struct TListLimits {
    int Lines = 100;
    bool LimitErrors = false;
    bool IgnoreFirst = false;
};

class TMonitorRun {
public:
    explicit TMonitorRun(TRunClock clock);

    // Observers must outlive the run or unsubscribe first.
    void Subscribe(TMonitorRunObserver& observer);
    void Unsubscribe(TMonitorRunObserver& observer);

    // A reply as the echo client delivered it, its precise trip time and the
    // host box's text. An echo is counted, dropped when "Ignore first ping"
    // is on and it is the first since the last clear, else listed; any other
    // reply goes to the error log. A list over the limit loses its oldest
    // row first (so a lowered limit shrinks nothing); the error log only
    // with "Linet for Errors". False for a dropped echo, which no view hears of.
    // A reply whose wait was held up past its deadline is filed so; between
    // Suspend and Resume nothing is filed.
    bool AddReply(const TReplyStatus& reply, std::uint32_t tripUs, bool heldUp, const std::string& host,
                  const TListLimits& limits);
    // A ping that raised an error and sent nothing.
    void AddNotSent(const std::string& host, const std::string& message);
    // The computer goes to sleep now: repeat pinging pauses, and no ping is
    // filed until Resume, which tells the views of the sleep once it is over. A second Suspend before a Resume changes nothing, and
    // a Resume without one does nothing.
    void Suspend();
    void Resume();
    // A sleep found afterwards: the program stood still since `begin`.
    void AddSleep(const TClockReading& begin);
    bool Suspended() const { return suspendedAt_.has_value(); }
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
    // Take effect from the next ping on.
    void SetAlertOptions(const TAlertOptions& options);
    void SetHistoryOptions(const THistoryOptions& options);

    double EchoCount() const { return FEchoCount; }
    int EchoRows() const { return static_cast<int>(echoes_.size()); }
    int ErrorRows() const { return static_cast<int>(errors_.size()); }
    // Row 0 is the newest.
    const TPingRecord& Echo(int row) const { return echoes_.at(static_cast<std::size_t>(row)); }
    const TPingRecord& Error(int row) const { return errors_.at(static_cast<std::size_t>(row)); }
    // Exact: at most 10001 rows of 32-bit values.
    std::uint64_t TripTimeSum() const { return tripTimeSum_; }
    // The mean over exactly the rows held, 0 when there are none.
    double AverageTripTime() const;
    TClockReading Now() const { return clock_(); }

    const std::string& Host() const { return host_; }
    bool Repeating() const { return repeating_; }
    std::uint32_t DataColor() const { return dataColor_; }
    std::uint32_t AverageColor() const { return averageColor_; }
    bool View3D() const { return view3D_; }
    const TAlertOptions& AlertOptions() const { return alertOptions_; }
    const THistoryOptions& HistoryOptions() const { return historyOptions_; }

private:
    void Notify(void (TMonitorRunObserver::*event)(const TMonitorRun&));
    TPingRecord Filed(TPingOutcome outcome, const TReplyStatus& reply, std::uint32_t tripUs) const;
    bool AddEcho(TPingRecord record, const TListLimits& limits);
    void AddFailure(TPingRecord record, const TListLimits& limits);

    TRunClock clock_;
    std::vector<TMonitorRunObserver*> observers_;
    std::optional<TClockReading> suspendedAt_;
    // Counts every echo reply since the last clear, a dropped first one too;
    // the X value of chart points.
    double FEchoCount = 0;
    std::deque<TPingRecord> echoes_;
    std::deque<TPingRecord> errors_;
    std::uint64_t tripTimeSum_ = 0;
    std::string host_;
    bool repeating_ = false;
    std::uint32_t dataColor_ = 0;
    std::uint32_t averageColor_ = 0;
    bool view3D_ = false;
    TAlertOptions alertOptions_;
    THistoryOptions historyOptions_;
};

// The average trip time as both windows' labels show it: two decimals,
// rounded on the exact quotient of the sum and the row count.
std::string AverageTripTimeText(const TMonitorRun& run, const txt::NumberSeparators& separators);
