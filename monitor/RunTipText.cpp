#include "monitor/RunTipText.h"

#include <initializer_list>
#include <string_view>

using txt::FormatNumber;
using txt::FormatQuotient;

namespace {

constexpr std::string_view Dot = " \xC2\xB7 "; // a middle dot between figures of one line
constexpr std::int64_t Second = 1000;

// One call per line rather than a chain of temporaries: the tip is built
// rarely, and the chains cost the executable far more than they save.
std::string Join(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (std::string_view p : parts)
        out.append(p);
    return out;
}

std::string TwoDigits(int n)
{
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::string Plural(std::uint64_t n, const char* one, const char* many, const txt::NumberSeparators& s)
{
    return Join({FormatNumber(n, 0, s), " ", n == 1 ? one : many});
}

// "23:10": hours and minutes of the local time a stamp shows.
std::string HourMinuteText(const TWallStamp& stamp, const std::string& timeSeparator)
{
    const TCivilTime t = stamp.Local();
    return Join({TwoDigits(t.Hour), timeSeparator, TwoDigits(t.Minute)});
}

std::string OutageLine(const TLinkModel& f, TInstant now, const TTipFormat& format)
{
    if (f.OutageCount() == 0)
        return "no outages";
    const TOutage longest = *f.Longest(now);
    const std::string& sep = format.TimeSeparator;
    return Join({Plural(f.OutageCount(), "outage", "outages", format.Numbers), ", longest ",
                 DurationText(longest.Duration(now), format.Numbers), longest.Closed ? " (" : " (since ",
                 ClockText(longest.Start.Wall, sep), longest.Closed ? " to " : "",
                 longest.Closed ? ClockText(longest.End.Wall, sep) : std::string(), ")"});
}

std::string RecentLine(const TRecentFigures& r, const txt::NumberSeparators& n)
{
    std::string line = Join({"last 5 min", Dot, "loss ", FormatQuotient(r.Failures() * 100, r.Pings(), 1, n), " %"});
    if (r.Echoes())
        line += Join({Dot, "avg ", TripMsText(r.TripSum(), r.Echoes(), n), " ms"});
    if (r.JitterPairs())
        line += Join({Dot, "jitter ", TripMsText(r.JitterSum(), r.JitterPairs(), n), " ms"});
    const auto hundredths = static_cast<std::uint64_t>(r.Mos() * 100 + 0.5);
    return line + Join({Dot, "MOS ", FormatQuotient(hundredths, 100, 2, n)});
}

// The up/down line names the state.
std::string StateLine(const TLinkModel& link, TInstant now, const TTipFormat& format)
{
    const txt::NumberSeparators& n = format.Numbers;
    const TLinkState state = link.State();
    if (const TOutage* open = link.OpenOutage(); open && (state == TLinkState::Down || state == TLinkState::Idle))
        return Join({"down since ", ClockText(open->Start.Wall, format.TimeSeparator), ", ",
                     Plural(open->Lost, "ping", "pings", n)});
    switch (state) {
    case TLinkState::Idle: return "idle";
    case TLinkState::Starting: return "starting";
    case TLinkState::Asleep: return "asleep";
    case TLinkState::Slow:
        return Join({"slow since ", ClockText(link.SlowSince().Wall, format.TimeSeparator), " (usually ",
                     UsualMsText(link.UsualUs(), n), " ms)"});
    case TLinkState::Unstable: return Join({"unstable", Dot, "up for ", DurationText(now - link.UpSince(), n)});
    default: return Join({"up for ", DurationText(now - link.UpSince(), n)});
    }
}

} // namespace

std::string UsualMsText(std::uint32_t us, const txt::NumberSeparators& separators)
{
    return us < 10000 ? TripMsText(us, 1, separators) : FormatQuotient(us, 1000, 0, separators);
}

std::string ClockText(const TWallStamp& stamp, const std::string& timeSeparator)
{
    const TCivilTime t = stamp.Local();
    return Join({TwoDigits(t.Hour), timeSeparator, TwoDigits(t.Minute), timeSeparator, TwoDigits(t.Second)});
}

std::string DurationText(TDuration duration, const txt::NumberSeparators& separators)
{
    const std::int64_t ms = duration.count() / 1000;
    if (ms < 10 * Second) // tenths, so that a short outage is not "0 s"
        return Join({FormatQuotient(static_cast<std::uint64_t>(ms > 0 ? ms / 100 : 0), 10, 1, separators), " s"});
    const std::uint64_t s = static_cast<std::uint64_t>(ms / Second);
    struct Units {
        std::uint64_t big, small;
        const char *bigUnit, *smallUnit;
    };
    const Units u = s < 60      ? Units{s, 0, "s", ""}
                    : s < 3600  ? Units{s / 60, s % 60, "min", "s"}
                    : s < 86400 ? Units{s / 3600, s / 60 % 60, "h", "min"}
                                : Units{s / 86400, s / 3600 % 24, "d", "h"};
    if (u.small == 0)
        return Join({FormatNumber(u.big, 0, separators), " ", u.bigUnit});
    return Join({FormatNumber(u.big, 0, separators), " ", u.bigUnit, " ", std::to_string(u.small), " ", u.smallUnit});
}

std::string TripMsText(std::uint64_t sumUs, std::uint64_t count, const txt::NumberSeparators& separators)
{
    if (count == 0)
        return FormatNumber(0, 0, separators);
    // The decimals follow the size of the value itself, before rounding.
    const std::uint64_t us = sumUs / count;
    const int decimals = us < 1000 ? 3 : us < 10000 ? 2 : us < 100000 ? 1 : 0;
    return FormatQuotient(sumUs, count * 1000, decimals, separators);
}

std::vector<std::string> RunTipLines(const TRunFigures& f, const TLinkModel& link, TInstant now,
                                     const TTipFormat& format)
{
    const txt::NumberSeparators& n = format.Numbers;
    std::vector<std::string> lines;
    lines.push_back(Join({"since ", ClockText(f.RunStart().Wall, format.TimeSeparator), Dot,
                          Plural(f.Pings(), "ping", "pings", n)}));
    if (f.NotSent())
        lines.back() += Join({Dot, FormatNumber(f.NotSent(), 0, n), " not sent"});
    if (f.Pings())
        lines.push_back(Join({"loss ", FormatQuotient(f.Failures() * 100, f.Pings(), 1, n), " % (",
                              FormatNumber(f.Failures(), 0, n), " of ", FormatNumber(f.Pings(), 0, n), ")"}));
    if (f.Echoes())
        lines.push_back(Join({"min / avg / max ", TripMsText(f.MinTrip(), 1, n), " / ",
                              TripMsText(f.TripSum(), f.Echoes(), n), " / ", TripMsText(f.MaxTrip(), 1, n), " ms", Dot,
                              "p95 ", TripMsText(f.Percentile95(), 1, n), " ms"}));
    if (f.JitterPairs())
        lines.push_back(Join({"jitter (mean change) ", TripMsText(f.JitterSum(), f.JitterPairs(), n), " ms"}));
    if (link.Recent().Pings())
        lines.push_back(RecentLine(link.Recent(), n));
    lines.push_back(OutageLine(link, now, format));
    lines.push_back(StateLine(link, now, format));
    if (const std::optional<TSleep>& sleep = f.LastSleep())
        lines.push_back(Join({"asleep ", HourMinuteText(sleep->Begin.Wall, format.TimeSeparator), " to ",
                              HourMinuteText(sleep->End.Wall, format.TimeSeparator)}));
    return lines;
}

std::string RunTipText(const TRunFigures& figures, const TLinkModel& link, TInstant now, const TTipFormat& format)
{
    std::string text;
    for (const std::string& line : RunTipLines(figures, link, now, format))
        text += text.empty() ? line : Join({"\r\n", line});
    return text;
}
