#include "history/HistoryTexts.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <optional>

namespace {

std::string Format(const char* format, ...)
{
    char text[160];
    va_list values;
    va_start(values, format);
    const int n = std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    return std::string(text, n > 0 ? std::min<std::size_t>(static_cast<std::size_t>(n), sizeof text - 1) : 0);
}

double Ms(double us)
{
    return us / 1000.0;
}

std::string TripsText(std::uint32_t minUs, double avgUs, std::uint32_t maxUs)
{
    return Format("%.1f / %.1f / %.1f ms", Ms(minUs), Ms(avgUs), Ms(maxUs));
}

} // namespace

std::string HistoryDurationText(TDuration d)
{
    const std::int64_t s = std::max<std::int64_t>(0, d.count() / 1000000);
    if (s >= 86400)
        return Format("%lld d %02lld h", static_cast<long long>(s / 86400), static_cast<long long>(s % 86400 / 3600));
    if (s >= 3600)
        return Format("%lld h %02lld min", static_cast<long long>(s / 3600), static_cast<long long>(s % 3600 / 60));
    if (s >= 60)
        return Format("%lld min %02lld s", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
    return Format("%lld s", static_cast<long long>(s));
}

std::string HistoryWallText(const TWallStamp& stamp)
{
    const TCivilTime t = stamp.Local();
    return Format("%04d-%02d-%02d %02d:%02d", t.Year, t.Month, t.Day, t.Hour, t.Minute);
}

std::vector<std::string> HistoryFigureLines(const THistoryFigures& f, const THistoryOutageTotals& outages)
{
    std::vector<std::string> lines;
    lines.push_back(Format("Pings: %llu    Loss: %.2f %%", static_cast<unsigned long long>(f.Pings()), f.LossPercent()));
    if (f.Echoes == 0) {
        lines.push_back("Min/avg/max: -    p95: -    Jitter: -");
    } else {
        bool approximate = false;
        const double p95 = Ms(f.Percentile95(&approximate));
        lines.push_back("Min/avg/max: " + TripsText(f.MinTrip, f.AverageUs(), f.MaxTrip) +
                        Format("    p95: %s%.1f ms    Jitter: %.1f ms", approximate ? "\xE2\x89\x88" : "", p95,
                               Ms(f.JitterUs())));
    }
    const auto mos = f.Mos();
    // The outages listed are the one judgement of down time shown.
    std::optional<double> availability;
    if (f.AwakeMs > 0) {
        const double downMs = std::min<double>(f.AwakeMs, static_cast<double>(outages.InRange.count()) / 1000.0);
        availability = 100.0 * (f.AwakeMs - downMs) / f.AwakeMs;
    }
    lines.push_back((mos ? Format("MOS: %.2f", *mos) : std::string("MOS: -")) + "    Availability: " +
                    (availability ? Format("%.3f %% of awake time", *availability) : std::string("-")));
    lines.push_back(Format("Outages: %zu, ", outages.Count) + HistoryDurationText(outages.Total) +
                    " in all, longest " + HistoryDurationText(outages.Longest));
    return lines;
}

std::string HistoryColumnTip(const THistoryBins& bins, const THistoryColumn& column)
{
    std::string tip = HistoryWallText(bins.Label(bins.MinuteOf(column.From))) + " \xE2\x80\x93 " +
                      HistoryWallText(bins.Label(bins.MinuteOf(column.To)));
    if (!column.HasData)
        return tip + (column.AsleepMs ? "\r\nAsleep" : "\r\nNo data");
    tip += Format("\r\nPings: %u    Lost: %u", column.Pings, column.Failures());
    if (column.Echoes)
        tip += "\r\nMin/avg/max: " + TripsText(column.MinTrip, column.AverageUs(), column.MaxTrip);
    if (column.DownMs)
        tip += "\r\nDown: " + HistoryDurationText(std::chrono::milliseconds(column.DownMs));
    if (column.AsleepMs)
        tip += "\r\nAsleep: " + HistoryDurationText(std::chrono::milliseconds(column.AsleepMs));
    return tip;
}

std::vector<std::string> HistoryOutageCells(const THistoryOutage& o)
{
    return {HistoryWallText(o.FromWall), HistoryWallText(o.ToWall), HistoryDurationText(o.Length()),
            std::to_string(o.Lost), o.Kinds()};
}

std::string HistorySkippedText(std::uint64_t rows, const std::string& fileName)
{
    return std::to_string(rows) + " rows skipped in " + fileName;
}

std::string_view HistoryRangeCaptions()
{
    return "Time,Pings,Lost,Min [\xC2\xB5s],Avg [\xC2\xB5s],Max [\xC2\xB5s],Held up,Asleep [s],Down [s]";
}

void WriteHistoryRangeCsv(const THistoryBins& bins, TInstant from, TInstant to, const TByteSink& sink)
{
    TCsvBuilder csv([](std::string_view utf8) { return std::string(utf8); });
    csv.Utf8Field(HistoryRangeCaptions());
    csv.EndLine();
    std::int64_t first = bins.MinuteOf(from);
    if (bins.StartOf(first) < from)
        ++first;
    first = std::max(first, bins.FirstMinute());
    const std::int64_t end = std::min(bins.MinuteOf(to - TDuration(1)) + 1, bins.EndMinute());
    for (std::int64_t m = first; m < end; ++m) {
        const THistoryMinute minute = bins.At(m);
        if (!minute.HasData() && minute.AsleepMs == 0)
            continue;
        csv.Utf8Field(IsoMoment(bins.Label(m)));
        csv.PlainField().AppendPlain(std::to_string(minute.Pings()));
        csv.PlainField().AppendPlain(std::to_string(minute.Failures()));
        const bool echoes = minute.Echoes > 0;
        csv.PlainField().AppendPlain(echoes ? std::to_string(minute.MinTrip) : std::string());
        csv.PlainField().AppendPlain(echoes ? std::to_string(minute.TripSum / minute.Echoes) : std::string());
        csv.PlainField().AppendPlain(echoes ? std::to_string(minute.MaxTrip) : std::string());
        csv.PlainField().AppendPlain(std::to_string(minute.HeldUp));
        csv.PlainField().AppendPlain(Format("%.3f", minute.AsleepMs / 1000.0));
        csv.PlainField().AppendPlain(Format("%.3f", minute.DownMs / 1000.0));
        csv.EndLine();
        if (m % 1024 == 0)
            csv.HandOnAfter(0, sink);
    }
    csv.HandOnAfter(0, sink);
}
