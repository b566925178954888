// TLinkWatch: whether the watched host is up, unstable or down, with
// hysteresis, as a view of a monitoring run: "down" after DownAfter
// failures in a row (time-outs, unreachable and TTL reports), "up" after
// UpAfter echoes in a row; a failure while up makes it unstable. It raises
// an alert when the host goes down and when it comes back, but not for the
// first "up" of a run, nor for the failures of the grace time after a sleep
// (until the first echo), nor for pings whose wait was held up. Starting or
// stopping repeat pinging, "Clear Data" and a sleep start it afresh. The
// counts in a row are the run's alert options.
// Portable; GUI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "monitor/MonitorRun.h"

enum class TLinkState : std::uint8_t { Unknown, Up, Unstable, Down };

// A change the user is told of.
struct TLinkAlert {
    enum class TKind : std::uint8_t { Down, Up } Kind = TKind::Down;
    std::string Host;
    // The send of the first failure in a row: when the host went down.
    TClockReading DownSince;
    // Down: the failures in a row so far and their kinds (TFailureKinds bits).
    int Failures = 0;
    std::uint8_t Kinds = 0;
    // Up: the arrival of the first echo in a row.
    TClockReading UpAt;
};

class TLinkWatch : private TMonitorRunObserver {
public:
    using TAlertHandler = std::function<void(const TLinkAlert&)>;
    using TStateHandler = std::function<void(TLinkState)>;

    // Follows `run` from now until destroyed; the run must outlive it.
    explicit TLinkWatch(TMonitorRun& run);
    ~TLinkWatch();
    TLinkWatch(const TLinkWatch&) = delete;
    TLinkWatch& operator=(const TLinkWatch&) = delete;

    void OnAlert(TAlertHandler handler) { onAlert_ = std::move(handler); }
    void OnStateChanged(TStateHandler handler) { onState_ = std::move(handler); }

    TLinkState State() const { return state_; }
    // Failures in a row since the last echo, as far as they count.
    int FailuresInRow() const { return failuresInRow_; }

private:
    void EchoAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void FailureAdded(const TMonitorRun& run, const TPingRecord& record, bool removedOldest) override;
    void SleepAdded(const TMonitorRun& run, const TSleep& sleep) override;
    void EchoesCleared(const TMonitorRun& run) override;
    void RepeatChanged(const TMonitorRun& run) override;

    void Restart();
    void Enter(TLinkState state);
    void Raise(const TLinkAlert& alert);

    TMonitorRun& run_;
    TAlertHandler onAlert_;
    TStateHandler onState_;
    TLinkState state_ = TLinkState::Unknown;
    int echoesInRow_ = 0;
    int failuresInRow_ = 0;
    std::uint8_t kinds_ = 0;
    TClockReading firstFailure_, downSince_, firstEcho_;
    std::optional<TInstant> graceUntil_;
};
