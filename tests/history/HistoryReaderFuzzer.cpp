// Feeds arbitrary bytes to the history reader as one file and on into the
// minute bins: reading never fails, every line is a row, skipped or blank,
// the instants never go back, and the bins' figures stay consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "history/HistoryBins.h"
#include "history/HistoryReader.h"

namespace {

struct TChecked : THistoryVisitor {
    THistoryBins Bins{HistoryReplayReading({1796634131042, 60})};
    TInstant Last{TDuration(INT64_MIN)};
    std::uint64_t Rows = 0;

    void PingRead(const TPingRecord& record) override
    {
        if (record.Ended() < Last || record.Sent > record.Ended())
            std::abort();
        Last = record.Ended();
        ++Rows;
        Bins.AddPing(record);
    }
    void SleepRead(const TSleep& sleep) override
    {
        if (sleep.End.Mono < Last || sleep.Begin.Mono > sleep.End.Mono)
            std::abort();
        Last = sleep.End.Mono;
        ++Rows;
        Bins.AddSleep(sleep);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size copy, so a read past the end is caught.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TChecked checked;
    THistoryReader reader;
    const THistoryReadCounts counts = reader.Read(bytes, checked);
    std::size_t lines = 1;
    for (char c : bytes)
        lines += c == '\n';
    if (counts.Rows != checked.Rows || counts.Rows + counts.Skipped > lines)
        std::abort();
    const THistoryBins& bins = checked.Bins;
    const THistoryFigures all = bins.Figures(bins.StartOf(bins.FirstMinute()), bins.Latest() + std::chrono::minutes(1));
    const std::uint32_t p95 = all.Percentile95();
    if (all.Echoes && (all.MinTrip > all.MaxTrip || p95 < all.MinTrip || p95 > all.MaxTrip))
        std::abort();
    return 0;
}
