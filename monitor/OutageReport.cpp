#include "monitor/OutageReport.h"

#include <cstdio>

#include "monitor/RunTipText.h"

namespace {

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

TDuration DownTime(const TLinkModel& link, TInstant now)
{
    TDuration down{};
    for (const TOutage& outage : link.Outages())
        down += outage.Duration(now);
    return down;
}

} // namespace

TExportTable OutageTable(const TLinkModel& link, TInstant now)
{
    TExportTable table{{"Start", "End", "Duration [s]", "Pings lost", "Kinds"}, {}};
    for (const TOutage& outage : link.Outages())
        table.Rows.push_back({IsoMoment(outage.Start.Wall), outage.Closed ? IsoMoment(outage.End.Wall) : std::string(),
                              std::to_string((outage.Duration(now).count() + 500000) / 1000000),
                              std::to_string(outage.Lost),
                              KindsText(outage.Kinds)});
    return table;
}

std::string OutageSummary(const TRunFigures& figures, const TLinkModel& link, TInstant now)
{
    // Over the time the computer was awake: a sleep is no outage.
    const std::int64_t runTime = figures.AwakeTime(now).count();
    const std::int64_t down = DownTime(link, now).count();
    // Tenths of a percent, rounded.
    const std::int64_t permille = runTime > 0 ? ((runTime - down) * 2000 / runTime + 1) / 2 : 1000;
    char availability[32];
    std::snprintf(availability, sizeof availability, "%lld.%lld %%", static_cast<long long>(permille / 10),
                  static_cast<long long>(permille % 10));
    const std::uint64_t count = link.OutageCount();
    return std::to_string(count) + (count == 1 ? " outage" : " outages") + " since " +
           IsoMoment(figures.RunStart().Wall) + ", " + DurationText(TDuration(down), txt::NumberSeparators{}) +
           " down in all, availability " + availability;
}

std::string OutageReportText(const TRunFigures& figures, const TLinkModel& link, TInstant now)
{
    return OutageSummary(figures, link, now) + "\r\n" + TabText(OutageTable(link, now));
}
