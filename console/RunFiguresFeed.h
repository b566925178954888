// TRunFiguresFeed: the run figures as a view of a monitoring run. Every
// listed echo reply (not the one "Ignore first ping" drops) and every error
// reply go in as they come; "Clear Data" (at start-up, by the button, and
// when repeat pinging starts with "Clear logs on start") starts a new run.
// A ping that raised an error never reaches the run: the console reports it
// with AddNotSent. Times come from the clock it is given. Portable; GUI
// thread only.
#pragma once

#include <functional>

#include "console/MonitorRun.h"
#include "console/RunFigures.h"

class TRunFiguresFeed : public TMonitorRunObserver {
public:
    using TMsClock = std::function<TLocalMs()>;
    explicit TRunFiguresFeed(TMsClock clock) : clock_(std::move(clock)), figures_(clock_()) {}

    const TRunFigures& Figures() const { return figures_; }
    TLocalMs Now() const { return clock_(); }
    void AddNotSent() { figures_.AddNotSent(); }

    void EchoAdded(const TMonitorRun& run, const TEchoChange& change) override;
    void ErrorAdded(const TMonitorRun& run, const TRowChange& change) override;
    void EchoesCleared(const TMonitorRun& run) override;

private:
    TMsClock clock_;
    TRunFigures figures_;
};
