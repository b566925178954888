// A monitoring run's two lists as text that leaves the program, made from
// the run's records when asked: the rows a copy takes (the list's columns,
// cells as the list shows them) and a whole list as a CSV file's bytes
// (the list's columns, for the reply list "Trip time [µs]" after "Trip time
// [ms]", then "Time": the moment the row was filed with its own offset),
// newest first. Portable; GUI thread only, like the run.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "monitor/ExportText.h"
#include "monitor/MonitorRun.h"
#include "monitor/ReplyText.h"

// The listed rows `rows` (row 0 the newest) with the list's captions.
TExportTable RunRowsTable(const TMonitorRun& run, TRunLog log, std::span<const int> rows,
                          std::string_view timeSeparator);

// Every row of the list as a CSV file: byte-order mark, captions, rows,
// handed to `sink` in blocks of whole lines as it is made.
void WriteRunCsv(const TMonitorRun& run, TRunLog log, std::string_view timeSeparator, const TUtf8Converter& toUtf8,
                 const TByteSink& sink);
