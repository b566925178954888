// The History window's texts, made from the bins and the outages: the
// range's figures, a column's tip, an outage's cells, the message about
// skipped rows, and the range as a CSV file (a row a minute, in the
// export's dialect: RFC 4180, byte-order mark, ISO 8601 with offset). All
// UTF-8. Portable.
#pragma once

#include <string>
#include <vector>

#include "history/HistoryOutages.h"
#include "monitor/ExportText.h"

// "1 h 05 min", "3 min 20 s", "12 s".
std::string HistoryDurationText(TDuration d);
// "2026-12-07 14:02": the local date and time a stamp shows.
std::string HistoryWallText(const TWallStamp& stamp);

// The figures' lines: pings and loss; min/avg/max; p95 (with "≈" when
// approximate), jitter and MOS; availability over the awake time, less
// the outages' time within the range; outages.
std::vector<std::string> HistoryFigureLines(const THistoryFigures& figures, const THistoryOutageTotals& outages);
// A column's span and figures, lines split by CR LF.
std::string HistoryColumnTip(const THistoryBins& bins, const THistoryColumn& column);
// Start, end, duration, pings lost, kinds.
std::vector<std::string> HistoryOutageCells(const THistoryOutage& outage);
// "N rows skipped in zentvorlumo-2026-12-07.csv".
std::string HistorySkippedText(std::uint64_t rows, const std::string& fileName);

// The captions of the range's CSV file.
std::string_view HistoryRangeCaptions();
// Each minute of [from, to) that saw pings or a sleep, as a row.
void WriteHistoryRangeCsv(const THistoryBins& bins, TInstant from, TInstant to, const TByteSink& sink);
