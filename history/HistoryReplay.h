// THistoryReplay: earlier runs' pings as the history files give them back,
// judged again by a link model of its own, so their outages follow today's
// rules and options. The files come newest day first: where the rows step
// back in time the model starts afresh, keeping what it found (an outage
// across midnight is then two). Portable; GUI thread only.
#pragma once

#include <vector>

#include "history/HistoryOutages.h"
#include "history/HistoryReader.h"
#include "monitor/LinkModel.h"

// An outage of the model as the History window lists it, an open one
// ending at `end`. The model keeps which kinds failed, not how many of each.
THistoryOutage HistoryOutageOf(const TOutage& outage, const TClockReading& end);

class THistoryReplay : public THistoryVisitor {
public:
    THistoryReplay();
    // The rules the model judges by; set before the rows come.
    void SetOptions(const TAlertOptions& options) { model_.SetOptions(options); }

    void PingRead(const TPingRecord& record) override;
    void SleepRead(const TSleep& sleep) override;

    // Those overlapping [from, to), oldest first.
    std::vector<THistoryOutage> Outages(TInstant from, TInstant to) const;

private:
    void StepBack();

    TLinkModel model_;
    TClockReading last_{};
    std::vector<THistoryOutage> found_;
};
