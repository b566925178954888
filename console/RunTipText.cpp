#include "console/RunTipText.h"


using tk::FormatNumber;
using tk::FormatQuotient;

namespace {

constexpr const char* Dot = " \xC2\xB7 "; // a middle dot between figures of one line
constexpr TLocalMs Second = 1000, Minute = 60 * Second, Hour = 60 * Minute, Day = 24 * Hour;

std::string TwoDigits(TLocalMs n)
{
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::string Plural(std::uint64_t n, const char* one, const char* many, const tk::NumberSeparators& s)
{
    return FormatNumber(n, 0, s) + " " + (n == 1 ? one : many);
}

std::string OutageLine(const TRunFigures& f, TLocalMs now, const TTipFormat& format)
{
    if (f.OutageCount() == 0)
        return "no outages";
    const TOutage longest = *f.Longest(now);
    std::string line = Plural(f.OutageCount(), "outage", "outages", format.Numbers) + ", longest " +
                       DurationText(longest.Duration(now), format.Numbers) + " (";
    if (longest.Closed)
        line += ClockText(longest.Start, format.TimeSeparator) + " to " + ClockText(longest.End, format.TimeSeparator);
    else
        line += "since " + ClockText(longest.Start, format.TimeSeparator);
    return line + ")";
}

} // namespace

std::string ClockText(TLocalMs time, const std::string& timeSeparator)
{
    TLocalMs s = time / Second % (Day / Second);
    if (s < 0)
        s += Day / Second;
    return TwoDigits(s / 3600) + timeSeparator + TwoDigits(s / 60 % 60) + timeSeparator + TwoDigits(s % 60);
}

std::string DurationText(TLocalMs ms, const tk::NumberSeparators& separators)
{
    if (ms < 10 * Second) // tenths, so that a short outage is not "0 s"
        return FormatQuotient(static_cast<std::uint64_t>(ms > 0 ? ms / 100 : 0), 10, 1, separators) + " s";
    const std::uint64_t s = static_cast<std::uint64_t>(ms / Second);
    auto two = [&](std::uint64_t big, const char* bigUnit, std::uint64_t small, const char* smallUnit) {
        std::string text = FormatNumber(big, 0, separators) + " " + bigUnit;
        return small ? text + " " + std::to_string(small) + " " + smallUnit : text;
    };
    if (s < 60)
        return std::to_string(s) + " s";
    if (s < 3600)
        return two(s / 60, "min", s % 60, "s");
    if (s < 86400)
        return two(s / 3600, "h", s / 60 % 60, "min");
    return two(s / 86400, "d", s / 3600 % 24, "h");
}

std::vector<std::string> RunTipLines(const TRunFigures& f, TLocalMs now, const TTipFormat& format)
{
    const tk::NumberSeparators& n = format.Numbers;
    std::vector<std::string> lines;
    std::string first = "since " + ClockText(f.RunStart(), format.TimeSeparator) + Dot +
                        Plural(f.Pings(), "ping", "pings", n);
    if (f.NotSent())
        first += Dot + FormatNumber(f.NotSent(), 0, n) + " not sent";
    lines.push_back(first);
    if (f.Pings())
        lines.push_back("loss " + FormatQuotient(f.Failures() * 100, f.Pings(), 1, n) + " % (" +
                        FormatNumber(f.Failures(), 0, n) + " of " + FormatNumber(f.Pings(), 0, n) + ")");
    if (f.Echoes())
        lines.push_back("min / avg / max " + FormatNumber(f.MinTrip(), 0, n) + " / " +
                        FormatQuotient(f.TripSum(), f.Echoes(), 2, n) + " / " + FormatNumber(f.MaxTrip(), 0, n) +
                        " ms" + Dot + "p95 " + FormatNumber(f.Percentile95(), 0, n) + " ms");
    if (f.JitterPairs())
        lines.push_back("jitter (mean change) " + FormatQuotient(f.JitterSum(), f.JitterPairs(), 2, n) + " ms");
    lines.push_back(OutageLine(f, now, format));
    if (const TOutage* open = f.OpenOutage())
        lines.push_back("down since " + ClockText(open->Start, format.TimeSeparator) + ", " +
                        Plural(open->Lost, "ping", "pings", n));
    else
        lines.push_back("up for " + DurationText(now - f.UpSince(), n));
    return lines;
}

std::string RunTipText(const TRunFigures& figures, TLocalMs now, const TTipFormat& format)
{
    std::string text;
    for (const std::string& line : RunTipLines(figures, now, format))
        text += (text.empty() ? "" : "\r\n") + line;
    return text;
}
