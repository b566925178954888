// The outage report of a run: one row per outage, oldest first (start, end
// left empty while it lasts, duration in seconds, pings lost, the kinds of
// failure seen), with times in ISO 8601, and a readable first line for the
// copied report. Portable: the caller gives the local clock's UTC offset.
#pragma once

#include <string>

#include "console/ExportText.h"
#include "console/RunFigures.h"

// A moment of the local clock as a date and time of day.
TLocalTime LocalTimeOf(TLocalMs time);

// Columns "Start", "End", "Duration [s]", "Pings lost", "Kinds".
TExportTable OutageTable(const TRunFigures& figures, TLocalMs now, int offsetMinutes);

// "3 outages since 2026-12-07T13:58:02+01:00, 1 h 12 min down in all,
// availability 98.3 %": the share of the run's time so far without an outage.
std::string OutageSummary(const TRunFigures& figures, TLocalMs now, int offsetMinutes);

// The copied report: the summary line, then the table tab-separated.
std::string OutageReportText(const TRunFigures& figures, TLocalMs now, int offsetMinutes);
