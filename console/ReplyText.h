// The cell texts of the console's two lists: six per reply row, seven per
// error row, plain decimal numbers, the "dd.mm.yyyy hh:nn:ss" time stamp and
// the status names. Portable: the Win32 side passes in the local time and
// the locale's time separator.
#pragma once

#include <string>
#include <vector>

#include "icmp/ReplyStatus.h"

struct TLocalTime {
    int Year = 0, Month = 0, Day = 0;
    int Hour = 0, Minute = 0, Second = 0;
};

// The value name of a status, "No Status" for any value outside the enumeration.
std::string StatusText(TReplyStatusKind kind);

std::string DateTimeText(const TLocalTime& time, const std::string& timeSeparator);

// "Adress From", "Bytes", "Type", "Seq.ID", "Trip time [ms]", "Time to Live".
std::vector<std::string> EchoRowCells(const TReplyStatus& reply);

// "Adress" (the host box's text, not the reply's source), "Bytes", "Type",
// "Seq.ID", "Trip time [ms]", "Date/Time", "Status".
std::vector<std::string> ErrorRowCells(const TReplyStatus& reply, const std::string& host, const TLocalTime& now,
                                       const std::string& timeSeparator);
