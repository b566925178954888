#include "monitor/ReplyText.h"

namespace {

constexpr TListColumn kEchoColumns[] = {
    {"Adress From", 100, TColumnAlign::Left},     {"Bytes", 40, TColumnAlign::Center},
    {"Type", 40, TColumnAlign::Center},           {"Seq.ID", 80, TColumnAlign::Center},
    {"Trip time [ms]", 100, TColumnAlign::Center}, {"Time to Live", 100, TColumnAlign::Center},
};

constexpr TListColumn kErrorColumns[] = {
    {"Adress", 100, TColumnAlign::Left},         {"Bytes", 40, TColumnAlign::Center},
    {"Type", 40, TColumnAlign::Center},          {"Seq.ID", 60, TColumnAlign::Center},
    {"Trip time [ms]", 80, TColumnAlign::Center}, {"Date/Time", 130, TColumnAlign::Center},
    {"Status", 100, TColumnAlign::Center},
};

// The four number columns both lists share, from "Bytes" on.
void AppendNumberCell(TTextBuffer& out, const TReplyStatus& reply, int column)
{
    switch (column) {
    case 1: return out.AppendDecimal(reply.Bytes);
    case 2: return out.AppendDecimal(reply.IcmpType);
    case 3: return out.AppendDecimal(reply.SeqId);
    case 4: return out.AppendDecimal(reply.TripTime);
    }
}

std::string_view StatusName(TReplyStatusKind kind)
{
    switch (kind) {
    case rsEcho: return "rsEcho";
    case rsError: return "rsError";
    case rsTimeOut: return "rsTimeOut";
    case rsErrorUnreachable: return "rsErrorUnreachable";
    case rsErrorTTLExceeded: return "rsErrorTTLExceeded";
    }
    return "No Status";
}

char* PutTwoDigits(char* at, int value)
{
    *at++ = static_cast<char>('0' + value / 10 % 10);
    *at++ = static_cast<char>('0' + value % 10);
    return at;
}

char* PutText(char* at, std::string_view text)
{
    for (char c : text)
        *at++ = c;
    return at;
}

// Made in one piece by hand: a formatted print, or an append per part,
// would cost more than the rest of an export's row.
void AppendDateTime(TTextBuffer& out, const TCivilTime& t, std::string_view timeSeparator)
{
    if (timeSeparator.size() > 8)
        timeSeparator = timeSeparator.substr(0, 8);
    char text[40];
    char* at = PutTwoDigits(text, t.Day);
    *at++ = '.';
    at = PutTwoDigits(at, t.Month);
    *at++ = '.';
    at = PutTwoDigits(at, t.Year / 100);
    at = PutTwoDigits(at, t.Year % 100);
    *at++ = ' ';
    at = PutTwoDigits(at, t.Hour);
    at = PutText(at, timeSeparator);
    at = PutTwoDigits(at, t.Minute);
    at = PutText(at, timeSeparator);
    at = PutTwoDigits(at, t.Second);
    out.Append(std::string_view(text, static_cast<std::size_t>(at - text)));
}

void AppendEchoCell(TTextBuffer& out, const TPingRecord& record, int column)
{
    switch (column) {
    case 0: return out.Append(record.Reply.AddressFrom);
    case 5: return out.AppendDecimal(record.Reply.TimeToLive);
    }
    AppendNumberCell(out, record.Reply, column);
}

void AppendErrorCell(TTextBuffer& out, const TPingRecord& record, int column, std::string_view timeSeparator,
                     const TCivilTime& filed)
{
    switch (column) {
    case 0: return out.Append(record.Host);
    case 5: return AppendDateTime(out, filed, timeSeparator);
    case 6: return out.Append(StatusName(record.Reply.Kind));
    }
    AppendNumberCell(out, record.Reply, column);
}

} // namespace

std::span<const TListColumn> ListColumns(TRunLog log)
{
    if (log == TRunLog::Echoes)
        return kEchoColumns;
    return kErrorColumns;
}

std::string StatusText(TReplyStatusKind kind)
{
    return std::string(StatusName(kind));
}

std::string DateTimeText(const TCivilTime& time, std::string_view timeSeparator)
{
    TTextBuffer text;
    AppendDateTime(text, time, timeSeparator);
    return text.Take();
}

std::string CellText(TRunLog log, const TPingRecord& record, int column, std::string_view timeSeparator)
{
    TTextBuffer text;
    AppendCell(text, log, record, column, timeSeparator);
    return text.Take();
}

void AppendCell(TTextBuffer& out, TRunLog log, const TPingRecord& record, int column, std::string_view timeSeparator)
{
    const bool dated = log == TRunLog::Errors && column == 5;
    AppendCell(out, log, record, column, timeSeparator, dated ? record.Filed.Local() : TCivilTime{});
}

void AppendCell(TTextBuffer& out, TRunLog log, const TPingRecord& record, int column, std::string_view timeSeparator,
                const TCivilTime& filed)
{
    if (log == TRunLog::Echoes)
        AppendEchoCell(out, record, column);
    else
        AppendErrorCell(out, record, column, timeSeparator, filed);
}
