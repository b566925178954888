// One of a monitoring run's two logs as a CSV file's bytes, made straight
// from the run's rows: the list's captions and a "Time" column first, then
// per row the cells the list shows (the same texts, from ReplyText) and the
// moment the row was made. Saving 10001 rows should cost about what writing
// their bytes does, so this is the one loop of an export, and the bytes go
// to the file in blocks of some 64 KB as they are made: a block stays in
// the processor's cache, a whole log would not. Portable.
#pragma once

#include <string>
#include <vector>

#include "console/ExportText.h"
#include "console/MonitorRun.h"

enum class TRunLog { Echoes, Errors };

// `captions` are the list's own, one per column shown.
void RunLogCsv(const TMonitorRun& run, TRunLog log, const std::vector<std::string>& captions, TUtf8Converter toUtf8,
               const TByteSink& sink);
