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

const char* StateWord(TLinkState state, bool repeating)
{
    if (!repeating)
        return "idle";
    switch (state) {
    case TLinkState::Up: return "up";
    case TLinkState::Unstable: return "unstable";
    case TLinkState::Down: return "down";
    case TLinkState::Unknown: break;
    }
    return "starting";
}

} // namespace

std::string AlertTitle(const TLinkAlert& alert)
{
    return alert.Host + (alert.Kind == TLinkAlert::TKind::Down ? " is down" : " is back up");
}

std::string AlertText(const TLinkAlert& alert, const TTimeOfDayText& timeText)
{
    if (alert.Kind == TLinkAlert::TKind::Down)
        return "No reply since " + timeText(alert.DownSince.Wall) + " (" + std::to_string(alert.Failures) +
               (alert.Failures == 1 ? " failure: " : " failures: ") + KindsWords(alert.Kinds) + ")";
    return "Down " + DurationText(alert.UpAt.Mono - alert.DownSince.Mono, {}) + " (" +
           timeText(alert.DownSince.Wall) + " to " + timeText(alert.UpAt.Wall) + ")";
}

std::string NotifyTipText(const std::string& host, TLinkState state, bool repeating, const TRunFigures& figures,
                          const txt::NumberSeparators& separators)
{
    std::string tip = host + " \xE2\x80\x94 " + StateWord(state, repeating);
    if (figures.Echoes())
        tip += " \xC2\xB7 " + TripMsText(figures.TripSum(), figures.Echoes(), separators) + " ms";
    if (figures.Pings())
        tip += " \xC2\xB7 loss " + txt::FormatQuotient(figures.Failures() * 100, figures.Pings(), 1, separators) + " %";
    return tip;
}
