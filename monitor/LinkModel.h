// TLinkModel: the one judgement of the watched link, read by every view:
// its state (idle, starting, up, slow, unstable, down, asleep), its outages
// (the down periods), the slow periods, flap damping and the alerts, and the
// last five minutes' figures. It is driven by plain calls (a ping ended, a
// sleep, repeat pinging started or stopped, "Clear Data"), so a live run
// (through TRunFiguresFeed) and a replay of old pings judge alike. Every
// duration comes from the monotonic instants, every time shown from the wall
// stamps. Portable; GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "icmp/ReplyStatus.h"
#include "monitor/AlertOptions.h"
#include "monitor/PingRecord.h"
#include "monitor/RecentFigures.h"
#include "monitor/TripBaseline.h"

enum class TLinkState : std::uint8_t { Idle, Starting, Up, Slow, Unstable, Down, Asleep };

// Which kinds of failure an outage saw, as bits.
enum TFailureKinds : std::uint8_t {
    fkTimeOut = 1,
    fkUnreachable = 2,
    fkTTLExceeded = 4,
    fkOther = 8,
};
std::uint8_t FailureKindBit(TReplyStatusKind kind);

// A down period: from the send of the first of the failures in a row that
// took the link down to the arrival of the first echo of the run that
// brought it back up; open while down. A sleep within it is not counted.
struct TOutage {
    TClockReading Start;
    TClockReading End; // meaningful once Closed
    std::uint32_t Lost = 0;
    std::uint8_t Kinds = 0; // TFailureKinds bits
    bool Closed = false;
    TDuration Slept{};
    TDuration Duration(TInstant now) const { return (Closed ? End.Mono : now) - Start.Mono - Slept; }
};

// A change the user is told of.
struct TLinkAlert {
    enum class TKind : std::uint8_t { Down, Up, Slow, FastAgain, KeepsDropping, KeepsSlowing, SteadyAgain };
    TKind Kind = TKind::Down;
    std::string Host;
    // Down, Slow: when the period began. Up, FastAgain: when the period began
    // and ended. KeepsDropping, SteadyAgain: the first period's start and
    // the last one's end.
    TClockReading Since, Until;
    // Up, FastAgain: the period's awake time.
    TDuration Length{};
    // Down: the failures in a row so far; the flapping ones: the periods.
    int Count = 0;
    std::uint8_t Kinds = 0; // Down: TFailureKinds bits
    // Slow: the trip time that made it slow and the usual one.
    std::uint32_t TripUs = 0, UsualUs = 0;
    bool SlowPeriods = false; // SteadyAgain: of slow periods, not outages
};

struct TLinkChange {
    TLinkState State = TLinkState::Idle;
    TClockReading At;
};

class TLinkModel {
public:
    using TAlertHandler = std::function<void(const TLinkAlert&)>;
    using TChangeHandler = std::function<void(const TLinkChange&)>;

    static constexpr TDuration GraceAfterSleep = std::chrono::seconds(30);
    // Unstable: a failure among this many last pings.
    static constexpr int SteadyPings = 20;
    // Slow: SlowOf of the last SlowWindow echoes above the threshold; normal
    // again after SlowWindow in a row at or below it.
    static constexpr int SlowWindow = 5, SlowOf = 3;
    static constexpr std::size_t BaselineEchoes = 20;
    static constexpr TDuration FlapWindow = std::chrono::minutes(10);
    static constexpr int FlapPeriods = 3;
    // Records kept; older ones go first (count and longest stay exact).
    static constexpr std::size_t MaxOutageRecords = 100000;

    explicit TLinkModel(TClockReading start = {});

    void OnAlert(TAlertHandler handler) { onAlert_ = std::move(handler); }
    void OnChange(TChangeHandler handler) { onChange_ = std::move(handler); }
    // From the next ping on.
    void SetOptions(const TAlertOptions& options) { options_ = options; }

    // "Clear Data": a new run from `now`, outages and all.
    void Start(TClockReading now);
    // Repeat pinging started or stopped: the judgement starts afresh (an open
    // outage ends here: what follows is unknown).
    void SetRepeating(bool repeating, TClockReading now);
    // A ping that ended: an echo or a failure. One that sent nothing, or
    // whose wait was held up, measured nothing and is left out.
    void AddPing(const TPingRecord& record);
    void AddSleep(const TSleep& sleep);

    TLinkState State() const { return repeating_ ? state_ : TLinkState::Idle; }
    // What the icon shows: a flapping link reads unstable.
    TLinkState Shown() const;
    const TClockReading& RunStart() const { return start_; }
    // Up, unstable, slow: since the arrival of the echo that brought it up.
    TInstant UpSince() const { return upSince_; }
    bool Flapping() const { return outageFlaps_.on; }

    // Oldest first; an open outage is the last record.
    const std::deque<TOutage>& Outages() const { return outages_; }
    std::uint64_t OutageCount() const { return outageCount_; }
    bool Down() const { return !outages_.empty() && !outages_.back().Closed; }
    const TOutage* OpenOutage() const { return Down() ? &outages_.back() : nullptr; }
    // The longest outage up to `now` (an open one counts its time so far).
    std::optional<TOutage> Longest(TInstant now) const;

    // Slow: since when, and the frozen usual trip time.
    bool Slow() const { return slow_; }
    const TClockReading& SlowSince() const { return slowSince_; }
    std::uint32_t UsualUs() const { return usualUs_; }
    // The threshold in force now, 0 while none applies.
    std::uint32_t SlowThresholdUs() const;

    const TRecentFigures& Recent() const { return recent_; }

private:
    void Restart(TClockReading now);
    void AddEcho(const TPingRecord& record);
    void AddFailure(const TPingRecord& record);
    void JudgeSlow(const TClockReading& arrival, std::uint32_t tripUs);
    void BeginOutage();
    void CloseOutage(const TClockReading& end, bool told);
    void EndSlow(const TClockReading& end, bool told);
    void CheckSteady(const TClockReading& now);
    void Judge(const TClockReading& at);
    void Enter(TLinkState state, const TClockReading& at);
    void Raise(TLinkAlert alert);

    // Flap damping, for outages and for slow periods: the starts within the
    // last FlapWindow, and while on, the periods held and their span.
    struct TFlaps {
        std::deque<TClockReading> starts;
        bool on = false, held = false;
        int periods = 0;
        TClockReading first, lastEnd;
        // A period starts at `start`: true when its alerts are held.
        bool Begin(const TClockReading& start, bool pause);
    };

    TAlertOptions options_;
    TAlertHandler onAlert_;
    TChangeHandler onChange_;
    TClockReading start_;
    std::string host_;
    TLinkState state_ = TLinkState::Starting, told_ = TLinkState::Idle;
    bool repeating_ = false;
    bool starting_ = true;
    std::optional<TInstant> graceUntil_;
    int echoesInRow_ = 0, failuresInRow_ = 0, steadyPings_ = SteadyPings;
    std::uint8_t kinds_ = 0;
    TClockReading firstFailure_, firstEcho_;
    TInstant upSince_;

    std::deque<TOutage> outages_;
    std::uint64_t outageCount_ = 0;
    std::optional<TOutage> longestClosed_;

    TTripBaseline baseline_;
    bool slow_ = false;
    std::uint8_t aboveFlags_ = 0; // the last SlowWindow echoes, newest in bit 0
    int normalInRow_ = 0;
    std::uint64_t echoes_ = 0;
    std::deque<TClockReading> judgedAt_; // arrivals of the last SlowWindow echoes judged
    TClockReading slowSince_, firstNormal_;
    std::uint32_t usualUs_ = 0, frozenThresholdUs_ = 0;

    TFlaps outageFlaps_, slowFlaps_;

    TRecentFigures recent_;
    std::vector<TLinkAlert> pending_;
};
