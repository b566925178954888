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

void AppendTwoDigits(TTextBuffer& out, int value)
{
    const char pair[2] = {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
    out.AppendPlain({pair, 2});
}

void AppendDateTime(TTextBuffer& out, const TCivilTime& t, std::string_view timeSeparator)
{
    AppendTwoDigits(out, t.Day);
    out.Append('.');
    AppendTwoDigits(out, t.Month);
    out.Append('.');
    // By hand: a formatted print per row would cost more than the rest of an export.
    AppendTwoDigits(out, t.Year / 100);
    AppendTwoDigits(out, t.Year % 100);
    out.Append(' ');
    AppendTwoDigits(out, t.Hour);
    out.Append(timeSeparator);
    AppendTwoDigits(out, t.Minute);
    out.Append(timeSeparator);
    AppendTwoDigits(out, t.Second);
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
