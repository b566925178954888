#include "monitor/RunExport.h"

#include <cstdint>

namespace {

// The reply list's CSV takes the precise trip time after this column.
constexpr int kTripMsColumn = 4;

const TPingRecord& RowOf(const TMonitorRun& run, TRunLog log, int row)
{
    return log == TRunLog::Echoes ? run.Echo(row) : run.Error(row);
}

int RowsOf(const TMonitorRun& run, TRunLog log)
{
    return log == TRunLog::Echoes ? run.EchoRows() : run.ErrorRows();
}

// The numbers and the status names: nothing in them to quote or convert.
// The addresses, the host box's text and the time (its separator is the
// locale's) go the careful way.
bool IsPlainColumn(TRunLog log, int column)
{
    if (column >= 1 && column <= 4)
        return true;
    return log == TRunLog::Echoes ? column == 5 : column == 6;
}

// A list's stamps mostly fall on one local day: its date is worked out
// once, and only the time of day for each row.
class TLocalTimes {
public:
    TCivilTime Of(const TWallStamp& stamp)
    {
        constexpr std::int64_t kDayMs = 86400000;
        const std::int64_t local = stamp.UtcMs + std::int64_t{stamp.OffsetMinutes} * 60000;
        // Within the day of the row before, no 64-bit division (a library
        // call on the 32-bit build).
        std::int64_t ms = local - dayStart_;
        if (ms < 0 || ms >= kDayMs) {
            std::int64_t day = local / kDayMs;
            if (local % kDayMs < 0)
                --day;
            dayStart_ = day * kDayMs;
            date_ = CivilTimeOf(dayStart_);
            ms = local - dayStart_;
        }
        TCivilTime t = date_;
        const int s = static_cast<int>(ms) / 1000;
        t.Hour = s / 3600;
        t.Minute = s / 60 % 60;
        t.Second = s % 60;
        return t;
    }

private:
    std::int64_t dayStart_ = INT64_MIN / 2; // no day yet
    TCivilTime date_;
};

} // namespace

TExportTable RunRowsTable(const TMonitorRun& run, TRunLog log, std::span<const int> rows,
                          std::string_view timeSeparator)
{
    const std::span<const TListColumn> columns = ListColumns(log);
    TExportTable table;
    for (const TListColumn& column : columns)
        table.Captions.emplace_back(column.Caption);
    table.Rows.reserve(rows.size());
    for (int row : rows) {
        std::vector<std::string>& cells = table.Rows.emplace_back();
        cells.reserve(columns.size());
        for (std::size_t column = 0; column < columns.size(); ++column)
            cells.push_back(CellText(log, RowOf(run, log, row), static_cast<int>(column), timeSeparator));
    }
    return table;
}

void WriteRunCsv(const TMonitorRun& run, TRunLog log, std::string_view timeSeparator, const TUtf8Converter& toUtf8,
                 const TByteSink& sink)
{
    // Blocks of about 64 KB: made and written while still in the cache.
    constexpr std::size_t kBlock = 64 * 1024;
    const std::span<const TListColumn> columns = ListColumns(log);
    const bool precise = log == TRunLog::Echoes;
    TCsvBuilder csv(toUtf8);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        csv.Field(columns[column].Caption);
        if (precise && column == kTripMsColumn)
            csv.Utf8Field("Trip time [\xC2\xB5s]");
    }
    csv.Field("Time");
    csv.EndLine();
    const int rows = RowsOf(run, log);
    // A row is some 70 bytes: the block never moves as it grows.
    csv.Reserve(kBlock + 1024);
    TLocalTimes times;
    for (int row = 0; row < rows; ++row) {
        const TPingRecord& record = RowOf(run, log, row);
        const TCivilTime filed = times.Of(record.Filed);
        for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
            if (IsPlainColumn(log, column)) {
                AppendCell(csv.PlainField(), log, record, column, timeSeparator, filed);
            } else {
                AppendCell(csv.OpenField(), log, record, column, timeSeparator, filed);
                csv.CloseField();
            }
            if (precise && column == kTripMsColumn)
                csv.PlainField().AppendDecimal(record.TripUs);
        }
        csv.Utf8Field(IsoMomentText(filed, record.Filed.OffsetMinutes).View());
        csv.EndLine();
        csv.HandOnAfter(kBlock, sink);
    }
    csv.HandOnAfter(0, sink);
}
