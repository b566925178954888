#include "console/RunCsv.h"

namespace {

// The lists' columns, as ReplyText makes their cells.
constexpr int kEchoColumns = 6;
constexpr int kErrorColumns = 7;

// One row's line: its cells as the list shows them, the moment it was made
// and CR LF; no byte-order mark, as it is kept to be written later.
template <class AppendCell>
std::string CsvLine(const TUtf8Converter& toUtf8, int columns, const TMoment& made, const AppendCell& appendCell)
{
    TCsvBuilder csv(toUtf8, TCsvBuilder::Start::Bare);
    for (int column = 0; column < columns; ++column) {
        appendCell(csv.OpenField(), column);
        csv.CloseField();
    }
    csv.Field(IsoMomentText(made).View());
    csv.EndLine();
    return csv.Take();
}

} // namespace

TRunCsv::TRunCsv(TMonitorRun& run, TUtf8Converter toUtf8) : run_(run), toUtf8_(std::move(toUtf8))
{
    for (int row = run.EchoRows() - 1; row >= 0; --row)
        echoLines_.PushFront(EchoLine(row));
    for (int row = run.ErrorRows() - 1; row >= 0; --row)
        errorLines_.PushFront(ErrorLine(row));
    run_.Subscribe(*this);
}

TRunCsv::~TRunCsv()
{
    run_.Unsubscribe(*this);
}

std::string TRunCsv::EchoLine(int row) const
{
    return CsvLine(toUtf8_, kEchoColumns, run_.EchoMoment(row),
                   [&](TTextBuffer& out, int column) { AppendEchoCell(out, run_.Echo(row), column); });
}

std::string TRunCsv::ErrorLine(int row) const
{
    const TErrorRow& error = run_.Error(row);
    return CsvLine(toUtf8_, kErrorColumns, error.Made,
                   [&](TTextBuffer& out, int column) { AppendErrorCell(out, error, column); });
}

void TRunCsv::EchoAdded(const TMonitorRun&, const TEchoChange& change)
{
    if (change.RemovedOldest)
        echoLines_.PopBack();
    if (change.Added)
        echoLines_.PushFront(EchoLine(0));
}

void TRunCsv::ErrorAdded(const TMonitorRun&, const TRowChange& change)
{
    if (change.RemovedOldest)
        errorLines_.PopBack();
    if (change.Added)
        errorLines_.PushFront(ErrorLine(0));
}

void TRunCsv::EchoesCleared(const TMonitorRun&)
{
    echoLines_.Clear();
}

void TRunCsv::ErrorsCleared(const TMonitorRun&)
{
    errorLines_.Clear();
}

void TRunCsv::Write(TRunLog log, const std::vector<std::string>& captions, const TByteSink& sink) const
{
    TCsvBuilder csv(toUtf8_);
    for (const std::string& caption : captions)
        csv.Field(caption);
    csv.Field("Time");
    csv.EndLine();
    sink(csv.Take());
    sink((log == TRunLog::Echoes ? echoLines_ : errorLines_).Text());
}
