#include "app/HistoryService.h"

#include <algorithm>

#include "console/SystemClock.h"
#include "history/HistoryFolder.h"
#include "toolkit/WinFileSystem.h"

namespace {

// The window lists an outage by the kinds its pings failed with; the model
// keeps which kinds, not how many of each.
THistoryOutage HistoryOutageOf(const TOutage& o, const TClockReading& now)
{
    THistoryOutage h;
    h.From = o.Start.Mono;
    h.FromWall = o.Start.Wall;
    h.To = o.Closed ? o.End.Mono : now.Mono;
    h.ToWall = o.Closed ? o.End.Wall : now.Wall;
    h.Lost = o.Lost;
    h.TimeOuts = (o.Kinds & fkTimeOut) != 0;
    h.Unreachable = (o.Kinds & fkUnreachable) != 0;
    h.TtlExceeded = (o.Kinds & fkTTLExceeded) != 0;
    h.OtherFailures = (o.Kinds & fkOther) != 0;
    return h;
}

bool Overlaps(const THistoryOutage& o, TInstant from, TInstant to)
{
    return o.From < to && o.To > from;
}

} // namespace

THistoryService::THistoryService(TMonitorRun& run, TRunFiguresFeed& figures)
    : run_(run), figures_(figures), feed_(run, tk::Utf8Text),
      keeper_(feed_, ReadSystemClock, HistoryFolderPath(),
              [this](const std::wstring& folder, DWORD error) { Failed(folder, error); })
{
    turnOff_.SetEnabled(false);
    turnOff_.SetInterval(1);
    turnOff_.SetOnTimer([this](tk::Component*) {
        turnOff_.SetEnabled(false);
        run_.SetHistoryOptions({false, run_.HistoryOptions().Days});
    });
    replay_.SetRepeating(true, {});
    run_.Subscribe(*this);
    keeper_.Apply(run_.HistoryOptions());
}

THistoryService::~THistoryService()
{
    run_.Unsubscribe(*this);
}

void THistoryService::ShowWindow()
{
    THistorySource source = keeper_.WindowSource();
    source.Outages = [this](TInstant from, TInstant to) { return Outages(from, to); };
    source.Replay = this;
    ShowHistoryWindow(source);
}

// The figures' feed hears of each ping first (it subscribed first), so the
// model has judged it by now; a period is booked from its own start.
void THistoryService::FollowLink(TInstant now)
{
    const TLinkModel& link = figures_.Link();
    THistoryLinkState state = THistoryLinkState::Other;
    TInstant since = now;
    if (const TOutage* open = link.OpenOutage()) {
        state = THistoryLinkState::Down;
        since = open->Start.Mono;
    } else if (link.Slow()) {
        state = THistoryLinkState::Slow;
        since = link.SlowSince().Mono;
    }
    if (state == shown_)
        return;
    feed_.Bins().LinkStateChanged(state == THistoryLinkState::Other ? now : since, state);
    shown_ = state;
}

void THistoryService::EchoAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    FollowLink(record.Ended());
}

void THistoryService::FailureAdded(const TMonitorRun&, const TPingRecord& record, bool)
{
    FollowLink(record.Ended());
}

void THistoryService::SleepAdded(const TMonitorRun&, const TSleep& sleep)
{
    FollowLink(sleep.End.Mono);
}

void THistoryService::RepeatChanged(const TMonitorRun& run)
{
    FollowLink(run.Now().Mono);
}

void THistoryService::EchoesCleared(const TMonitorRun& run)
{
    FollowLink(run.Now().Mono);
}

void THistoryService::HistoryOptionsChanged(const TMonitorRun& run)
{
    keeper_.Apply(run.HistoryOptions());
}

// Called from inside the feed's row sink: history goes off once that has
// returned.
void THistoryService::Failed(const std::wstring& folder, unsigned long error)
{
    if (stopped_)
        stopped_(folder, error);
    turnOff_.SetEnabled(true);
}

void THistoryService::KeepReplayed()
{
    for (const TOutage& o : replay_.Outages())
        replayed_.push_back(HistoryOutageOf(o, replayEnd_));
    replay_.Start({});
    replay_.SetRepeating(true, {});
}

void THistoryService::PingRead(const TPingRecord& record)
{
    if (record.Sent < replayEnd_.Mono)
        KeepReplayed();
    replayEnd_ = {record.Ended(), record.Filed};
    replay_.AddPing(record);
}

void THistoryService::SleepRead(const TSleep& sleep)
{
    if (sleep.Begin.Mono < replayEnd_.Mono)
        KeepReplayed();
    replayEnd_ = sleep.End;
    replay_.AddSleep(sleep);
}

std::vector<THistoryOutage> THistoryService::Outages(TInstant from, TInstant to) const
{
    std::vector<THistoryOutage> found;
    const TClockReading now = run_.Now();
    for (const THistoryOutage& o : replayed_)
        if (Overlaps(o, from, to))
            found.push_back(o);
    for (const TOutage& o : replay_.Outages())
        if (THistoryOutage h = HistoryOutageOf(o, replayEnd_); Overlaps(h, from, to))
            found.push_back(h);
    for (const TOutage& o : figures_.Link().Outages())
        if (THistoryOutage h = HistoryOutageOf(o, now); Overlaps(h, from, to))
            found.push_back(h);
    std::sort(found.begin(), found.end(), [](const THistoryOutage& a, const THistoryOutage& b) { return a.From < b.From; });
    return found;
}
