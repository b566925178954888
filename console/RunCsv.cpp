#include "console/RunCsv.h"

void RunLogCsv(const TMonitorRun& run, TRunLog log, const std::vector<std::string>& captions, TUtf8Converter toUtf8,
               const TByteSink& sink)
{
    const bool echoes = log == TRunLog::Echoes;
    const int rows = echoes ? run.EchoRows() : run.ErrorRows();
    TCsvBuilder csv(std::move(toUtf8), sink, 64 * 1024);
    for (const std::string& caption : captions)
        csv.Field(caption);
    csv.Field("Time");
    csv.EndLine();
    const int columns = static_cast<int>(captions.size());
    for (int row = 0; row < rows; ++row) {
        const TErrorRow* error = echoes ? nullptr : &run.Error(row);
        const TReplyStatus& reply = error ? error->Reply : run.Echo(row);
        for (int column = 0; column < columns; ++column) {
            if (error)
                AppendErrorCell(csv.OpenField(), *error, column);
            else
                AppendEchoCell(csv.OpenField(), reply, column);
            csv.CloseField();
        }
        csv.Field(IsoMomentText(error ? error->Made : run.EchoMoment(row)).View());
        csv.EndLine();
    }
    csv.Finish();
}
