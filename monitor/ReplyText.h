// The console's two lists as the run defines them: their columns (caption,
// width, alignment) and the text of each cell of a record: plain decimal
// numbers, the "dd.mm.yyyy hh:nn:ss" stamp of the moment the row was filed
// and the status names. The list, Copy and the CSV export all take their
// cells from here. Portable: the Win32 side passes in the locale's time
// separator.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "monitor/PingRecord.h"
#include "monitor/TextBuffer.h"

enum class TRunLog { Echoes, Errors };

enum class TColumnAlign { Left, Center };

struct TListColumn {
    const char* Caption;
    int Width; // at 96 dpi
    TColumnAlign Align;
};

// "Adress From", "Bytes", "Type", "Seq.ID", "Trip time [ms]", "Time to Live"
// for the reply list; "Adress", "Bytes", "Type", "Seq.ID", "Trip time [ms]",
// "Date/Time", "Status" for the error log.
std::span<const TListColumn> ListColumns(TRunLog log);

// The value name of a status, "No Status" for any value outside the enumeration.
std::string StatusText(TReplyStatusKind kind);

std::string DateTimeText(const TCivilTime& time, std::string_view timeSeparator);

// A cell as the list shows it; "" beyond the columns.
std::string CellText(TRunLog log, const TPingRecord& record, int column, std::string_view timeSeparator);
// The same text appended to `out`: an export of ten thousand rows makes no
// heap block per cell.
void AppendCell(TTextBuffer& out, TRunLog log, const TPingRecord& record, int column, std::string_view timeSeparator);
// The same, with the local time the record was filed at worked out already.
void AppendCell(TTextBuffer& out, TRunLog log, const TPingRecord& record, int column, std::string_view timeSeparator,
                const TCivilTime& filed);
