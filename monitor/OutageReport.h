// The outage report of a run: one row per outage, oldest first (start, end
// left empty while it lasts, duration in seconds, pings lost, the kinds of
// failure seen), each time in ISO 8601 with the offset it was taken in,
// and a readable first line for the copied report. Durations and the
// availability come from the monotonic clock. Portable.
#pragma once

#include <string>

#include "monitor/ExportText.h"
#include "monitor/LinkModel.h"
#include "monitor/RunFigures.h"

// Columns "Start", "End", "Duration [s]", "Pings lost", "Kinds".
TExportTable OutageTable(const TLinkModel& link, TInstant now);

// "3 outages since 2026-12-07T13:58:02+01:00, 1 h 12 min down in all,
// availability 98.3 %": the share of the run's awake time so far without an
// outage.
std::string OutageSummary(const TRunFigures& figures, const TLinkModel& link, TInstant now);

// The copied report: the summary line, then the table tab-separated.
std::string OutageReportText(const TRunFigures& figures, const TLinkModel& link, TInstant now);
