#include "console/OutageReport.h"

#include <cstdio>

#include "console/RunTipText.h"

namespace {

constexpr TLocalMs kDayMs = 86400000;

std::string IsoText(TLocalMs time, int offsetMinutes)
{
    return IsoMoment({LocalTimeOf(time), offsetMinutes});
}

std::string KindsText(std::uint8_t kinds)
{
    static const struct {
        std::uint8_t bit;
        const char* name;
    } names[] = {{fkTimeOut, "rsTimeOut"}, {fkUnreachable, "rsErrorUnreachable"},
                 {fkTTLExceeded, "rsErrorTTLExceeded"}, {fkOther, "other"}};
    std::string text;
    for (const auto& n : names)
        if (kinds & n.bit)
            text += (text.empty() ? "" : ", ") + std::string(n.name);
    return text;
}

TLocalMs DownTime(const TRunFigures& figures, TLocalMs now)
{
    TLocalMs down = 0;
    for (const TOutage& outage : figures.Outages())
        down += outage.Duration(now);
    return down;
}

} // namespace

TLocalTime LocalTimeOf(TLocalMs time)
{
    TLocalMs days = time / kDayMs, ms = time % kDayMs;
    if (ms < 0)
        ms += kDayMs, --days;
    // Days since 1970-01-01 to a civil date, in 400-year eras from 0000-03-01.
    const TLocalMs z = days + 719468;
    const TLocalMs era = (z >= 0 ? z : z - 146096) / 146097;
    const TLocalMs dayOfEra = z - era * 146097;
    const TLocalMs yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const TLocalMs dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const TLocalMs mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    const int s = static_cast<int>(ms / 1000);
    return {year, month, day, s / 3600, s / 60 % 60, s % 60};
}

TExportTable OutageTable(const TRunFigures& figures, TLocalMs now, int offsetMinutes)
{
    TExportTable table{{"Start", "End", "Duration [s]", "Pings lost", "Kinds"}, {}};
    for (const TOutage& outage : figures.Outages())
        table.Rows.push_back({IsoText(outage.Start, offsetMinutes),
                              outage.Closed ? IsoText(outage.End, offsetMinutes) : std::string(),
                              std::to_string((outage.Duration(now) + 500) / 1000), std::to_string(outage.Lost),
                              KindsText(outage.Kinds)});
    return table;
}

std::string OutageSummary(const TRunFigures& figures, TLocalMs now, int offsetMinutes)
{
    const TLocalMs runTime = now - figures.RunStart();
    const TLocalMs down = DownTime(figures, now);
    // Tenths of a percent, rounded.
    const TLocalMs permille = runTime > 0 ? ((runTime - down) * 2000 / runTime + 1) / 2 : 1000;
    char availability[32];
    std::snprintf(availability, sizeof availability, "%lld.%lld %%", static_cast<long long>(permille / 10),
                  static_cast<long long>(permille % 10));
    const std::uint64_t count = figures.OutageCount();
    return std::to_string(count) + (count == 1 ? " outage" : " outages") + " since " +
           IsoText(figures.RunStart(), offsetMinutes) + ", " + DurationText(down, tk::NumberSeparators{}) +
           " down in all, availability " + availability;
}

std::string OutageReportText(const TRunFigures& figures, TLocalMs now, int offsetMinutes)
{
    return OutageSummary(figures, now, offsetMinutes) + "\r\n" + TabText(OutageTable(figures, now, offsetMinutes));
}
