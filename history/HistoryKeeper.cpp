#include "history/HistoryKeeper.h"

#include "history/HistoryFile.h"
#include "history/HistoryFolder.h"

namespace {

// Midnight is noticed within a minute.
constexpr unsigned kDayCheckMs = 60000;

} // namespace

THistoryKeeper::THistoryKeeper(THistoryFeed& feed, TRunClock clock, std::wstring folder,
                               THistoryFileWriter::TReport report)
    : feed_(feed), clock_(std::move(clock)), folder_(std::move(folder)), report_(std::move(report))
{
    dayTimer_.SetInterval(kDayCheckMs);
    dayTimer_.SetEnabled(false);
    dayTimer_.SetOnTimer([this](tk::Component*) { CheckDay(); });
}

THistoryKeeper::~THistoryKeeper()
{
    feed_.SetRowSink({});
}

void THistoryKeeper::Apply(const THistoryOptions& options)
{
    const bool turnedOn = options.Keep && !Keeping();
    options_ = options;
    if (!options.Keep) {
        feed_.SetRowSink({});
        writer_.reset(); // flushed and closed
        dayTimer_.SetEnabled(false);
        return;
    }
    if (turnedOn) {
        writer_.reset();
        writer_ = std::make_unique<THistoryFileWriter>(
            folder_, [this](const std::wstring& folder, DWORD error) { Failed(folder, error); });
        feed_.SetRowSink(writer_->Sink());
        dayTimer_.SetEnabled(true);
    }
    DeleteExpired();
}

THistorySource THistoryKeeper::WindowSource() const
{
    return {&feed_.Bins(), clock_, feed_.Started(), Keeping() ? folder_ : std::wstring(), {}, nullptr};
}

void THistoryKeeper::DeleteExpired()
{
    day_ = HistoryFileDay(clock_().Wall);
    DeleteExpiredHistory(folder_, day_, options_.Days);
}

void THistoryKeeper::CheckDay()
{
    const TCivilTime today = HistoryFileDay(clock_().Wall);
    if (today.Day != day_.Day || today.Month != day_.Month || today.Year != day_.Year)
        DeleteExpired();
}

// Called from inside the feed's row sink, which must outlive the call: the
// writer drops rows from now on, and Apply lets go of both later.
void THistoryKeeper::Failed(const std::wstring& folder, DWORD error)
{
    dayTimer_.SetEnabled(false);
    options_.Keep = false;
    if (report_)
        report_(folder, error);
}
