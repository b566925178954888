// The link model played from scripts of pings, one a second, through a
// monitoring run: the states it passes through and the alerts it raises, with
// the counts in a row, the slow threshold and flap damping varied, across
// sleeps, held-up waits, "Clear Data" and repeat pinging started again; the
// outage list against the down alerts; the five-minute window against a
// recomputation; the MOS; the words of the notification tip.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "monitor/LinkAlertText.h"
#include "monitor/RunFiguresFeed.h"

namespace {

constexpr std::int64_t kStart = 1796651882000; // 2026-12-07 13:58:02 UTC

struct Watched {
    std::int64_t ms = 0;
    TMonitorRun run{[this] { return TClockReading{TInstant(std::chrono::milliseconds(ms)), {kStart + ms, 0}}; }};
    TRunFiguresFeed feed{run};
    std::string states, alerts;
    std::vector<TLinkAlert> raised;

    explicit Watched(TAlertOptions options)
    {
        run.SetAlertOptions(options);
        feed.Link().OnChange([this](const TLinkChange& c) { states += "ISULXDZ"[static_cast<int>(c.State)]; });
        feed.Link().OnAlert([this](const TLinkAlert& a) {
            raised.push_back(a);
            alerts += AlertTitle(a) + ": " + AlertText(a, [](const TWallStamp& w, bool seconds) {
                          const TCivilTime t = w.Local();
                          return std::to_string(t.Minute) + (seconds ? ":" + std::to_string(t.Second) : "");
                      }) + "; ";
        });
        run.SetHost("lab");
        run.SetRepeating(true);
        states.clear();
    }
    // e an echo of 20 ms, E of 800 ms, t time-out, u unreachable, h a
    // time-out whose wait was held up, s a sleep of a minute, z the suspend
    // and a the resume of a sleep, w ten minutes without pings, c "Clear
    // Data", r repeat pinging started again; a count before a step repeats it.
    void Play(const std::string& script)
    {
        TReplyStatus echo, timeOut, unreachable;
        timeOut.Kind = rsTimeOut;
        unreachable.Kind = rsErrorUnreachable;
        int times = 0;
        for (char c : script) {
            if (c >= '0' && c <= '9') {
                times = times * 10 + (c - '0');
                continue;
            }
            for (int i = 0; i < std::max(times, 1); ++i) {
                ms += 1000;
                switch (c) {
                case 'e': run.AddReply(echo, 20000, false, "lab", {}); break;
                case 'E': run.AddReply(echo, 800000, false, "lab", {}); break;
                case 't': run.AddReply(timeOut, 1000000, false, "lab", {}); break;
                case 'u': run.AddReply(unreachable, 5000, false, "lab", {}); break;
                case 'h': run.AddReply(timeOut, 1000000, true, "lab", {}); break;
                case 'c': run.ClearData(); break;
                case 'r': run.SetRepeating(true); break;
                case 'w': ms += 600000; break;
                case 'z': run.Suspend(); break;
                case 'a': run.Resume(); break;
                case 's':
                    run.Suspend();
                    ms += 60000;
                    run.Resume();
                    break;
                }
            }
            times = 0;
        }
    }
};

TAlertOptions Options(int downAfter, int upAfter, int slowAbove = TAlertOptions::SlowAutomatic, bool pause = true)
{
    TAlertOptions o;
    o.DownAfter = downAfter;
    o.UpAfter = upAfter;
    o.SlowAbove = slowAbove;
    o.PauseWhenFlapping = pause;
    return o;
}

} // namespace

// States: I idle, S starting, U up, L slow, X unstable, D down, Z asleep.
TEST(LinkModel, StatesAndAlertsOverScripts)
{
    constexpr int kAuto = TAlertOptions::SlowAutomatic, kOff = TAlertOptions::SlowOff;
    struct Case {
        const char* what;
        TAlertOptions options;
        const char* script;
        const char* states;
        const char* alerts;
    } cases[] = {
        {"a run that starts with echoes goes quietly up", Options(3, 2), "eee", "U", ""},
        {"one lost ping is loss, not an outage; unstable for 20 pings", Options(3, 2), "eet20e", "UXU", ""},
        {"down after three, back after two, unstable after", Options(3, 2), "eetttee", "UXDX",
         "lab is down: No reply since 58:4 (3 failures: time-out); lab is back up: Down 4.0 s (58:4 to 58:8); "},
        {"one echo is not yet back", Options(3, 2), "eettteteee", "UXDX",
         "lab is down: No reply since 58:4 (3 failures: time-out); lab is back up: Down 6.0 s (58:4 to 58:10); "},
        {"a run that starts down says so", Options(3, 2), "tuteee", "DX",
         "lab is down: No reply since 58:2 (3 failures: time-out, unreachable); "
         "lab is back up: Down 4.0 s (58:2 to 58:6); "},
        {"down after ten", Options(10, 5), "eeeee9t", "UX", ""},
        {"held-up waits count for nothing", Options(3, 2), "eehhhhee", "U", ""},
        {"a host down before a sleep and after it is one outage, one alert", Options(3, 2), "eettts40t", "UXDZSD",
         "lab is down: No reply since 58:4 (3 failures: time-out); "},
        {"nothing is filed from the suspend to the resume", Options(3, 2), "eetttz5e5ta40t", "UXDZSD",
         "lab is down: No reply since 58:4 (3 failures: time-out); "},
        {"back after the sleep: the outage counts no sleep", Options(3, 2), "eettts" "ee", "UXDZSU",
         "lab is down: No reply since 58:4 (3 failures: time-out); lab is back up: Down 5.0 s (58:4 to 59:9); "},
        {"failures just after waking open nothing", Options(3, 2), "eesttttee", "UZSX", ""},
        {"an echo after waking ends the grace", Options(3, 2), "eesettt", "UZSD",
         "lab is down: No reply since 59:6 (3 failures: time-out); "},
        {"Clear Data starts afresh", Options(3, 2), "eetttcee", "UXDSU",
         "lab is down: No reply since 58:4 (3 failures: time-out); "},
        {"repeat started again ends the outage quietly", Options(3, 2), "eetttree", "UXDSU",
         "lab is down: No reply since 58:4 (3 failures: time-out); "},
        {"flapping: one balloon, then quiet until ten steady minutes", Options(1, 1), "etetetetewe", "UDXDXDXDX",
         "lab is down: No reply since 58:3 (1 failure: time-out); lab is back up: Down 2.0 s (58:3 to 58:5); "
         "lab is down: No reply since 58:5 (1 failure: time-out); lab is back up: Down 2.0 s (58:5 to 58:7); "
         "lab keeps dropping: 3 outages in 10 min; alerts paused until it holds for 10 min; "
         "lab is steady again: 4 outages from 58 to 58; "},
        {"without the pause every outage is told", Options(1, 1, kAuto, false), "eteteteew", "UDXDXDX",
         "lab is down: No reply since 58:3 (1 failure: time-out); lab is back up: Down 2.0 s (58:3 to 58:5); "
         "lab is down: No reply since 58:5 (1 failure: time-out); lab is back up: Down 2.0 s (58:5 to 58:7); "
         "lab is down: No reply since 58:7 (1 failure: time-out); lab is back up: Down 2.0 s (58:7 to 58:9); "},
        {"slow above four times the usual, fast after five normal echoes", Options(3, 2), "20e3E5e", "ULU",
         "lab is slow: Trip time 800 ms (usually 20 ms) since 58:23; "
         "lab is fast again: Slow 3.0 s (58:23 to 58:26); "},
        {"no threshold before 20 echoes", Options(3, 2), "10e3E5e", "U", ""},
        {"slow off", Options(3, 2, kOff), "20e3E5e", "U", ""},
        {"a fixed threshold below the trip time", Options(3, 2, 500), "20e3E5e", "ULU",
         "lab is slow: Trip time 800 ms (usually 20 ms) since 58:23; "
         "lab is fast again: Slow 3.0 s (58:23 to 58:26); "},
        {"a fixed threshold above it", Options(3, 2, 1000), "20e3E5e", "U", ""},
        {"two slow of five are not slow; failures and waits count toward neither", Options(3, 2), "20eEeEtheE5e",
         "UXLX", "lab is slow: Trip time 800 ms (usually 20 ms) since 58:23; "
                 "lab is fast again: Slow 7.0 s (58:23 to 58:30); "},
        {"slow periods flap too", Options(3, 2), "20e3E5e3E5e3E5e3E5ew5e", "ULULULULU",
         "lab is slow: Trip time 800 ms (usually 20 ms) since 58:23; "
         "lab is fast again: Slow 3.0 s (58:23 to 58:26); "
         "lab is slow: Trip time 800 ms (usually 20 ms) since 58:31; "
         "lab is fast again: Slow 3.0 s (58:31 to 58:34); "
         "lab keeps slowing down: 3 slow periods in 10 min; alerts paused until it holds for 10 min; "
         "lab is steady again: 4 slow periods from 58 to 58; "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Watched w(c.options);
        w.Play(c.script);
        EXPECT_EQ(w.states, c.states);
        EXPECT_EQ(w.alerts, c.alerts);
    }
}

// Random runs: every outage is announced once, from the send that began it,
// and every closed one once more when it ends; with the pause the alerts
// per outage fall and the list still holds them all.
TEST(LinkModel, TheOutageListIsWhatTheDownAlertsTell)
{
    std::mt19937 random(33);
    for (int run = 0; run < 40; ++run) {
        std::string script;
        for (int i = 0; i < 600; ++i)
            script += "eeettuhs"[random() % (i % 97 == 0 ? 8 : 7)];
        Watched w(Options(1 + static_cast<int>(random() % 4), 1 + static_cast<int>(random() % 3), 
                          TAlertOptions::SlowAutomatic, false));
        w.Play(script);
        std::vector<TClockReading> downs, ups;
        for (const TLinkAlert& a : w.raised)
            (a.Kind == TLinkAlert::TKind::Down ? downs : ups).push_back(a.Since);
        const std::deque<TOutage>& outages = w.feed.Link().Outages();
        ASSERT_EQ(downs.size(), outages.size()) << script;
        EXPECT_EQ(ups.size(), outages.size() - (w.feed.Link().Down() ? 1 : 0)) << script;
        for (std::size_t i = 0; i < outages.size(); ++i)
            EXPECT_EQ(downs[i].Mono, outages[i].Start.Mono) << i;
    }
}

// Pings at random gaps: the window's sums slide to exactly what a pass over
// the pings of the last five minutes gives.
TEST(LinkModel, TheFiveMinuteWindowEqualsARecomputation)
{
    std::mt19937 random(5);
    struct Ping {
        std::int64_t ms;
        bool echo;
        std::uint32_t us;
    };
    std::vector<Ping> pings;
    TRecentFigures recent;
    std::int64_t ms = 0;
    for (int i = 0; i < 3000; ++i) {
        ms += 100 + static_cast<std::int64_t>(random() % (i % 500 < 20 ? 400000 : 1500));
        const Ping p{ms, random() % 5 != 0, static_cast<std::uint32_t>(random() % 300000)};
        pings.push_back(p);
        recent.Add(TInstant(std::chrono::milliseconds(p.ms)), p.echo, p.us);
        std::uint64_t count = 0, failures = 0, echoes = 0, sum = 0, jitter = 0;
        const Ping* last = nullptr;
        for (const Ping& q : pings) {
            if (q.ms <= ms - 300000)
                continue;
            ++count;
            failures += q.echo ? 0 : 1;
            if (!q.echo)
                continue;
            ++echoes;
            sum += q.us;
            if (last)
                jitter += q.us > last->us ? q.us - last->us : last->us - q.us;
            last = &q;
        }
        ASSERT_EQ(recent.Pings(), count) << i;
        ASSERT_EQ(recent.Failures(), failures) << i;
        ASSERT_EQ(recent.Echoes(), echoes) << i;
        ASSERT_EQ(recent.TripSum(), sum) << i;
        ASSERT_EQ(recent.JitterSum(), jitter) << i;
    }
}

// Worked by hand from the E-model's simplification.
TEST(LinkModel, MosFromLatencyJitterAndLossClampedToItsScale)
{
    struct Case {
        double avg, jitter, loss, mos;
    } cases[] = {
        {0, 0, 0, 4.4044},       // R = 93.2 - 10/40
        {21.4, 1.2, 0, 4.3923},  // EL 33.8
        {200, 0, 0, 4.1724},     // EL 210: R = 93.2 - 9
        {100, 25, 2, 4.1724},    // EL exactly 160, less 5 for the loss
        {0, 0, 33, 1.0412},      // R 10.45
        {0, 0, 37, 1.0},         // R 0.45: the cubic's dip below 1 held
        {20, 0, 60, 1.0},        // R below 0 held at 0
        {-10000, 0, 0, 4.5},     // R above 100 held at 100
    };
    for (const Case& c : cases)
        EXPECT_NEAR(MeanOpinionScore(c.avg, c.jitter, c.loss), c.mos, 0.00005) << c.avg << " " << c.loss;
}

TEST(LinkModel, TheIconTipSaysTheStateAndTheLastFiveMinutes)
{
    Watched w({});
    const txt::NumberSeparators comma{",", "."};
    EXPECT_EQ(NotifyTipText("lab", w.feed.Link(), comma), "lab \xE2\x80\x94 starting");
    w.Play("eeet");
    EXPECT_EQ(NotifyTipText("lab", w.feed.Link(), comma), "lab \xE2\x80\x94 unstable \xC2\xB7 20,0 ms \xC2\xB7 loss 25,0 %");
    w.run.SetRepeating(false);
    EXPECT_EQ(NotifyTipText("lab", w.feed.Link(), comma), "lab \xE2\x80\x94 idle \xC2\xB7 20,0 ms \xC2\xB7 loss 25,0 %");
}
