#include "console/ReplyText.h"

#include <cstdio>

namespace {

std::string TwoDigits(int value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

// The four number columns both lists share, from "Bytes" on.
std::string NumberCell(const TReplyStatus& reply, int column)
{
    switch (column) {
    case 1: return std::to_string(reply.Bytes);
    case 2: return std::to_string(reply.IcmpType);
    case 3: return std::to_string(reply.SeqId);
    case 4: return std::to_string(reply.TripTime);
    }
    return std::string();
}

} // namespace

std::string StatusText(TReplyStatusKind kind)
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

std::string DateTimeText(const TLocalTime& time, const std::string& timeSeparator)
{
    char year[16];
    std::snprintf(year, sizeof year, "%04d", time.Year);
    return TwoDigits(time.Day) + "." + TwoDigits(time.Month) + "." + year + " " + TwoDigits(time.Hour) +
           timeSeparator + TwoDigits(time.Minute) + timeSeparator + TwoDigits(time.Second);
}

std::string EchoCell(const TReplyStatus& reply, int column)
{
    switch (column) {
    case 0: return reply.AddressFrom;
    case 5: return std::to_string(reply.TimeToLive);
    }
    return NumberCell(reply, column);
}

std::string ErrorCell(const TErrorRow& row, int column)
{
    switch (column) {
    case 0: return row.Host;
    case 5: return row.DateTime;
    case 6: return StatusText(row.Reply.Kind);
    }
    return NumberCell(row.Reply, column);
}
