#include "monitor/RunExport.h"

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

std::string RunCsvText(const TMonitorRun& run, TRunLog log, std::string_view timeSeparator,
                       const TUtf8Converter& toUtf8)
{
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
    for (int row = 0; row < rows; ++row) {
        const TPingRecord& record = RowOf(run, log, row);
        for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
            AppendCell(csv.OpenField(), log, record, column, timeSeparator);
            csv.CloseField();
            if (precise && column == kTripMsColumn) {
                csv.OpenField().AppendDecimal(record.TripUs);
                csv.CloseField();
            }
        }
        csv.Field(IsoMomentText(record.Filed).View());
        csv.EndLine();
    }
    return csv.Take();
}
