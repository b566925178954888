#include "app/HistoryService.h"

#include "console/SystemClock.h"
#include "history/HistoryFolder.h"
#include "toolkit/WinFileSystem.h"

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
    // Earlier runs are judged by the options in force when the files are read.
    replay_.SetOptions(run_.AlertOptions());
    source.Replay = &replay_;
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

std::vector<THistoryOutage> THistoryService::Outages(TInstant from, TInstant to) const
{
    std::vector<THistoryOutage> found = replay_.Outages(from, to);
    const TClockReading now = run_.Now();
    for (const TOutage& o : figures_.Link().Outages())
        if (THistoryOutage h = HistoryOutageOf(o, now); h.From < to && h.To > from)
            found.push_back(h);
    return found;
}
