#include "monitor/LinkAlertText.h"

#include "monitor/RunTipText.h"

namespace {

std::string KindsWords(std::uint8_t kinds)
{
    static const struct {
        std::uint8_t bit;
        const char* words;
    } names[] = {{fkTimeOut, "time-out"}, {fkUnreachable, "unreachable"}, {fkTTLExceeded, "TTL exceeded"},
                 {fkOther, "other"}};
    std::string text;
    for (const auto& n : names)
        if (kinds & n.bit)
            text += (text.empty() ? "" : ", ") + std::string(n.words);
    return text;
}

const char* StateWord(TLinkState state)
{
    switch (state) {
    case TLinkState::Idle: return "idle";
    case TLinkState::Up: return "up";
    case TLinkState::Slow: return "slow";
    case TLinkState::Unstable: return "unstable";
    case TLinkState::Down: return "down";
    case TLinkState::Asleep: return "asleep";
    case TLinkState::Starting: break;
    }
    return "starting";
}

std::string Span(const TLinkAlert& alert, const TTimeOfDayText& timeText, bool seconds)
{
    return timeText(alert.Since.Wall, seconds) + " to " + timeText(alert.Until.Wall, seconds);
}

} // namespace

std::string AlertTitle(const TLinkAlert& alert)
{
    using K = TLinkAlert::TKind;
    switch (alert.Kind) {
    case K::Down: return alert.Host + " is down";
    case K::Up: return alert.Host + " is back up";
    case K::Slow: return alert.Host + " is slow";
    case K::FastAgain: return alert.Host + " is fast again";
    case K::KeepsDropping: return alert.Host + " keeps dropping";
    case K::KeepsSlowing: return alert.Host + " keeps slowing down";
    case K::SteadyAgain: break;
    }
    return alert.Host + " is steady again";
}

std::string AlertText(const TLinkAlert& alert, const TTimeOfDayText& timeText)
{
    using K = TLinkAlert::TKind;
    const std::string count = std::to_string(alert.Count);
    switch (alert.Kind) {
    case K::Down:
        return "No reply since " + timeText(alert.Since.Wall, true) + " (" + count +
               (alert.Count == 1 ? " failure: " : " failures: ") + KindsWords(alert.Kinds) + ")";
    case K::Up: return "Down " + DurationText(alert.Length, {}) + " (" + Span(alert, timeText, true) + ")";
    case K::Slow:
        return "Trip time " + UsualMsText(alert.TripUs, {}) + " ms (usually " + UsualMsText(alert.UsualUs, {}) +
               " ms) since " + timeText(alert.Since.Wall, true);
    case K::FastAgain: return "Slow " + DurationText(alert.Length, {}) + " (" + Span(alert, timeText, true) + ")";
    case K::KeepsDropping: return count + " outages in 10 min; alerts paused until it holds for 10 min";
    case K::KeepsSlowing: return count + " slow periods in 10 min; alerts paused until it holds for 10 min";
    case K::SteadyAgain: break;
    }
    return count + (alert.SlowPeriods ? " slow periods from " : " outages from ") + Span(alert, timeText, false);
}

std::string NotifyTipText(const std::string& host, const TLinkModel& link, const txt::NumberSeparators& separators)
{
    const TRecentFigures& recent = link.Recent();
    std::string tip = host + " \xE2\x80\x94 " + StateWord(link.Shown());
    if (recent.Echoes())
        tip += " \xC2\xB7 " + TripMsText(recent.TripSum(), recent.Echoes(), separators) + " ms";
    if (recent.Pings())
        tip += " \xC2\xB7 loss " + txt::FormatQuotient(recent.Failures() * 100, recent.Pings(), 1, separators) + " %";
    return tip;
}
