// The cell texts of the console's two lists: six per reply row, seven per
// error row, plain decimal numbers, the "dd.mm.yyyy hh:nn:ss" time stamp and
// the status names. Portable: the Win32 side passes in the local time and
// the locale's time separator.
#pragma once

#include <string>

#include "console/TextBuffer.h"
#include "icmp/ReplyStatus.h"

struct TLocalTime {
    int Year = 0, Month = 0, Day = 0;
    int Hour = 0, Minute = 0, Second = 0;
};

// A local time and its distance from UTC at that moment, in minutes east.
struct TMoment {
    TMoment() = default;
    TMoment(TLocalTime local, int offsetMinutes = 0) : Local(local), OffsetMinutes(offsetMinutes) {}
    TLocalTime Local;
    int OffsetMinutes = 0;
};

// The value name of a status, "No Status" for any value outside the enumeration.
std::string StatusText(TReplyStatusKind kind);

std::string DateTimeText(const TLocalTime& time, const std::string& timeSeparator);

// Columns "Adress From", "Bytes", "Type", "Seq.ID", "Trip time [ms]",
// "Time to Live"; "" beyond them.
std::string EchoCell(const TReplyStatus& reply, int column);
// The same text appended to `out`: an export of ten thousand rows makes no
// heap block per cell. The list shows what this appends, so the two agree.
void AppendEchoCell(TTextBuffer& out, const TReplyStatus& reply, int column);

// An error-log row as it was added: the host box's text (not the reply's
// source), the time stamp's text and the moment it shows.
struct TErrorRow {
    TReplyStatus Reply;
    std::string Host;
    std::string DateTime;
    TMoment Made;
};

// Columns "Adress", "Bytes", "Type", "Seq.ID", "Trip time [ms]",
// "Date/Time", "Status"; "" beyond them.
std::string ErrorCell(const TErrorRow& row, int column);
void AppendErrorCell(TTextBuffer& out, const TErrorRow& row, int column);
