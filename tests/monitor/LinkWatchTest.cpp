// The background watch played from scripts of pings, one a second: the
// states it passes through and the alerts it raises, with the hysteresis
// varied, across sleeps, held-up waits and new runs; and the words of the
// alerts and the notification tip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/LinkAlertText.h"
#include "monitor/LinkWatch.h"
#include "monitor/RunFiguresFeed.h"

namespace {

constexpr std::int64_t kStart = 1796651882000; // 2026-12-07 13:58:02 UTC

struct Watched {
    std::int64_t ms = 0;
    TMonitorRun run{[this] { return TClockReading{TInstant(std::chrono::milliseconds(ms)), {kStart + ms, 0}}; }};
    TLinkWatch watch;
    std::string states, alerts;

    explicit Watched(TAlertOptions options) : watch(run)
    {
        run.SetAlertOptions(options);
        watch.OnStateChanged([this](TLinkState s) { states += "?UXD"[static_cast<int>(s)]; });
        watch.OnAlert([this](const TLinkAlert& a) {
            alerts += AlertTitle(a) + ": " + AlertText(a, [](const TWallStamp& w) {
                          const TCivilTime t = w.Local();
                          return std::to_string(t.Minute) + ":" + std::to_string(t.Second);
                      }) + "; ";
        });
        run.SetRepeating(true);
        run.SetHost("lab");
        states.clear();
    }
    // e echo, t time-out, u unreachable, h a time-out whose wait was held up,
    // s a sleep of a minute, c "Clear Data", r repeat pinging started again.
    void Play(const std::string& script)
    {
        TReplyStatus echo, timeOut, unreachable;
        timeOut.Kind = rsTimeOut;
        unreachable.Kind = rsErrorUnreachable;
        for (char c : script) {
            ms += 1000;
            switch (c) {
            case 'e': run.AddReply(echo, 1000, false, "lab", {}); break;
            case 't': run.AddReply(timeOut, 1000000, false, "lab", {}); break;
            case 'u': run.AddReply(unreachable, 5000, false, "lab", {}); break;
            case 'h': run.AddReply(timeOut, 1000000, true, "lab", {}); break;
            case 'c': run.ClearData(); break;
            case 'r': run.SetRepeating(true); break;
            case 's':
                run.Suspend();
                ms += 60000;
                run.Resume();
                break;
            }
        }
    }
};

} // namespace

// States: ? no state, U up, X unstable, D down.
TEST(LinkWatch, StatesAndAlertsFollowTheHysteresis)
{
    struct Case {
        const char* what;
        int downAfter, upAfter;
        const char* script;
        const char* states;
        const char* alerts;
    } cases[] = {
        {"a run that starts with echoes goes quietly up", 3, 2, "eee", "U", ""},
        {"one lost ping is no outage", 3, 2, "eetee", "UXU", ""},
        {"two in a row neither", 3, 2, "eetteee", "UXU", ""},
        {"down after three, back after two", 3, 2, "eetttee", "UXDU",
         "lab is down: No reply since 58:4 (3 failures: time-out); lab is back up: Down 4.0 s (58:4 to 58:8); "},
        {"one echo is not yet back", 3, 2, "eettteteee", "UXDU",
         "lab is down: No reply since 58:4 (3 failures: time-out); lab is back up: Down 6.0 s (58:4 to 58:10); "},
        {"a run that starts down says so", 3, 2, "tuteee", "DU",
         "lab is down: No reply since 58:2 (3 failures: time-out, unreachable); "
         "lab is back up: Down 4.0 s (58:2 to 58:6); "},
        {"down after one, up after one", 1, 1, "etet", "UDUD",
         "lab is down: No reply since 58:3 (1 failure: time-out); lab is back up: Down 2.0 s (58:3 to 58:5); "
         "lab is down: No reply since 58:5 (1 failure: time-out); "},
        {"down after ten", 10, 5, "eeeeettttttttt", "UX", ""},
        {"held-up waits count for nothing", 3, 2, "eehhhhee", "U", ""},
        {"a sleep starts afresh, quietly", 3, 2, "eettts" "ee", "UXD?U", "lab is down: No reply since 58:4 (3 failures: time-out); "},
        {"failures just after waking raise nothing", 3, 2, "eestttttee", "U?U", ""},
        {"an echo after waking ends the grace", 3, 2, "eesettt", "U?D", "lab is down: No reply since 59:6 (3 failures: time-out); "},
        {"Clear Data starts afresh", 3, 2, "eetttcee", "UXD?U", "lab is down: No reply since 58:4 (3 failures: time-out); "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Watched w({true, true, c.downAfter, c.upAfter});
        w.Play(c.script);
        EXPECT_EQ(w.states, c.states);
        EXPECT_EQ(w.alerts, c.alerts);
    }
}

TEST(LinkWatch, TheTipSaysTheHostItsStateAndTheRunsFigures)
{
    Watched w({});
    TRunFiguresFeed figures(w.run);
    const txt::NumberSeparators comma{",", "."};
    EXPECT_EQ(NotifyTipText("lab", w.watch.State(), true, figures.Figures(), comma), "lab \xE2\x80\x94 starting");
    w.Play("eeet");
    EXPECT_EQ(NotifyTipText("lab", w.watch.State(), true, figures.Figures(), comma),
              "lab \xE2\x80\x94 unstable \xC2\xB7 1,00 ms \xC2\xB7 loss 25,0 %");
    EXPECT_EQ(NotifyTipText("lab", w.watch.State(), false, figures.Figures(), comma),
              "lab \xE2\x80\x94 idle \xC2\xB7 1,00 ms \xC2\xB7 loss 25,0 %");
}
