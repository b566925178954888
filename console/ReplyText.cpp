#include "console/ReplyText.h"

#include <cstdio>
#include <string_view>

namespace {

std::string TwoDigits(int value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

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

} // namespace

std::string StatusText(TReplyStatusKind kind)
{
    return std::string(StatusName(kind));
}

std::string DateTimeText(const TLocalTime& time, const std::string& timeSeparator)
{
    char year[16];
    std::snprintf(year, sizeof year, "%04d", time.Year);
    return TwoDigits(time.Day) + "." + TwoDigits(time.Month) + "." + year + " " + TwoDigits(time.Hour) +
           timeSeparator + TwoDigits(time.Minute) + timeSeparator + TwoDigits(time.Second);
}

std::string EchoCell(const TReplyStatus& reply, int column)
{
    TTextBuffer text;
    AppendEchoCell(text, reply, column);
    return text.Take();
}

void AppendEchoCell(TTextBuffer& out, const TReplyStatus& reply, int column)
{
    switch (column) {
    case 0: out.Append(reply.AddressFrom); return;
    case 5: return out.AppendDecimal(reply.TimeToLive);
    }
    AppendNumberCell(out, reply, column);
}

std::string ErrorCell(const TErrorRow& row, int column)
{
    TTextBuffer text;
    AppendErrorCell(text, row, column);
    return text.Take();
}

void AppendErrorCell(TTextBuffer& out, const TErrorRow& row, int column)
{
    switch (column) {
    case 0: out.Append(row.Host); return;
    case 5: out.Append(row.DateTime); return;
    case 6: out.Append(StatusName(row.Reply.Kind)); return;
    }
    AppendNumberCell(out, row.Reply, column);
}
