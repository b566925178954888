#include "console/RunCsv.h"

namespace {

// The lists' columns, as ReplyText makes their cells.
constexpr int kEchoColumns = 6;
constexpr int kErrorColumns = 7;

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
    TCsvBuilder csv(toUtf8_, TCsvBuilder::Start::Bare);
    for (int column = 0; column < kEchoColumns; ++column) {
        AppendEchoCell(csv.OpenField(), run_.Echo(row), column);
        csv.CloseField();
    }
    csv.Field(IsoMomentText(run_.EchoMoment(row)).View());
    csv.EndLine();
    return csv.Take();
}

std::string TRunCsv::ErrorLine(int row) const
{
    TCsvBuilder csv(toUtf8_, TCsvBuilder::Start::Bare);
    for (int column = 0; column < kErrorColumns; ++column) {
        AppendErrorCell(csv.OpenField(), run_.Error(row), column);
        csv.CloseField();
    }
    csv.Field(IsoMomentText(run_.Error(row).Made).View());
    csv.EndLine();
    return csv.Take();
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
