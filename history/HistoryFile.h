// The history files: one a local day, `history\zentvorlumo-YYYY-MM-DD.csv`
// beside the program, one CSV row per ping as it ends and one per sleep,
// in the export's dialect (UTF-8 with a byte-order mark, CR LF, RFC 4180
// quoting, ISO 8601 times with their UTC offset, here to the millisecond).
// THistoryWriter makes the rows; the Win32 side appends and flushes them.
// Portable; GUI thread only.
#pragma once

#include <string>
#include <string_view>

#include "monitor/ExportText.h"
#include "monitor/PingRecord.h"

inline constexpr const char* kHistoryFolder = "history";
// The status of a sleep's row, beside the reply statuses' names.
inline constexpr std::string_view kAsleepStatus = "asleep";
inline constexpr int kHistoryColumns = 9;

// "zentvorlumo-2026-12-07.csv": the file of the local day `day`.
std::string HistoryFileName(const TCivilTime& day);
// The local day a row filed at `stamp` belongs to (its time of day 0).
TCivilTime HistoryFileDay(const TWallStamp& stamp);

// "Time,Host,Address,Status,Trip time [µs],TTL,Bytes,Seq,Held up", in UTF-8.
std::string_view HistoryCaptions();
// What a new file starts with: the byte-order mark and the caption line.
std::string HistoryFileStart();
// What to write before appending rows to a file whose last bytes are
// `tail` (empty for a new or empty file): the file's start, or a line end
// after a row a killed program left cut, so that only that row is lost.
std::string HistoryAppendPrefix(std::string_view tail);

// "2026-12-07T14:02:11.042+01:00": the local time with milliseconds and offset.
struct THistoryTimeText {
    char Text[29];
    std::string_view View() const { return {Text, 29}; }
};
THistoryTimeText HistoryTimeText(const TWallStamp& stamp);

class THistoryWriter {
public:
    // `toUtf8` turns the host box's text (the ANSI code page on Windows) into UTF-8.
    explicit THistoryWriter(TUtf8Converter toUtf8);

    // A ping's row: its filing time, the host box's text, the address it
    // came from, the status's name, the trip time in µs, the time to live,
    // the bytes, the sequence number and whether its wait was held up
    // ("1" or "0"). A ping that sent nothing makes no row: false.
    bool AddPing(const TPingRecord& record);
    // A sleep's row: the time it ended, the host, status "asleep" and its
    // length in µs in the trip time's column; the reply's columns empty.
    void AddSleep(const TSleep& sleep, std::string_view host);
    // The rows made since the last call go to `sink`, and are forgotten.
    void HandOn(const TByteSink& sink) { csv_.HandOnAfter(0, sink); }

private:
    TCsvBuilder csv_;
};
