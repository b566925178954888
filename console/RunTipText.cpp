#include "console/RunTipText.h"

#include <initializer_list>
#include <string_view>

using tk::FormatNumber;
using tk::FormatQuotient;

namespace {

constexpr std::string_view Dot = " \xC2\xB7 "; // a middle dot between figures of one line
constexpr TLocalMs Second = 1000, Day = 86400 * Second;

// One call per line rather than a chain of temporaries: the tip is built
// rarely, and the chains cost the executable far more than they save.
std::string Join(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (std::string_view p : parts)
        out.append(p);
    return out;
}

std::string TwoDigits(TLocalMs n)
{
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::string Plural(std::uint64_t n, const char* one, const char* many, const tk::NumberSeparators& s)
{
    return Join({FormatNumber(n, 0, s), " ", n == 1 ? one : many});
}

std::string OutageLine(const TRunFigures& f, TLocalMs now, const TTipFormat& format)
{
    if (f.OutageCount() == 0)
        return "no outages";
    const TOutage longest = *f.Longest(now);
    const std::string& sep = format.TimeSeparator;
    return Join({Plural(f.OutageCount(), "outage", "outages", format.Numbers), ", longest ",
                 DurationText(longest.Duration(now), format.Numbers), longest.Closed ? " (" : " (since ",
                 ClockText(longest.Start, sep), longest.Closed ? " to " : "",
                 longest.Closed ? ClockText(longest.End, sep) : std::string(), ")"});
}

} // namespace

std::string ClockText(TLocalMs time, const std::string& timeSeparator)
{
    TLocalMs s = time / Second % (Day / Second);
    if (s < 0)
        s += Day / Second;
    return Join({TwoDigits(s / 3600), timeSeparator, TwoDigits(s / 60 % 60), timeSeparator, TwoDigits(s % 60)});
}

std::string DurationText(TLocalMs ms, const tk::NumberSeparators& separators)
{
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

std::vector<std::string> RunTipLines(const TRunFigures& f, TLocalMs now, const TTipFormat& format)
{
    const tk::NumberSeparators& n = format.Numbers;
    std::vector<std::string> lines;
    lines.push_back(Join({"since ", ClockText(f.RunStart(), format.TimeSeparator), Dot,
                          Plural(f.Pings(), "ping", "pings", n)}));
    if (f.NotSent())
        lines.back() += Join({Dot, FormatNumber(f.NotSent(), 0, n), " not sent"});
    if (f.Pings())
        lines.push_back(Join({"loss ", FormatQuotient(f.Failures() * 100, f.Pings(), 1, n), " % (",
                              FormatNumber(f.Failures(), 0, n), " of ", FormatNumber(f.Pings(), 0, n), ")"}));
    if (f.Echoes())
        lines.push_back(Join({"min / avg / max ", FormatNumber(f.MinTrip(), 0, n), " / ",
                              FormatQuotient(f.TripSum(), f.Echoes(), 2, n), " / ", FormatNumber(f.MaxTrip(), 0, n),
                              " ms", Dot, "p95 ", FormatNumber(f.Percentile95(), 0, n), " ms"}));
    if (f.JitterPairs())
        lines.push_back(Join({"jitter (mean change) ", FormatQuotient(f.JitterSum(), f.JitterPairs(), 2, n), " ms"}));
    lines.push_back(OutageLine(f, now, format));
    if (const TOutage* open = f.OpenOutage())
        lines.push_back(Join({"down since ", ClockText(open->Start, format.TimeSeparator), ", ",
                              Plural(open->Lost, "ping", "pings", n)}));
    else
        lines.push_back(Join({"up for ", DurationText(now - f.UpSince(), n)}));
    return lines;
}

std::string RunTipText(const TRunFigures& figures, TLocalMs now, const TTipFormat& format)
{
    std::string text;
    for (const std::string& line : RunTipLines(figures, now, format))
        text += text.empty() ? line : Join({"\r\n", line});
    return text;
}
