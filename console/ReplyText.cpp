#include "console/ReplyText.h"

#include <cstdio>

namespace {

std::string TwoDigits(int value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
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

std::vector<std::string> EchoRowCells(const TReplyStatus& reply)
{
    return {reply.AddressFrom,
            std::to_string(reply.Bytes),
            std::to_string(reply.IcmpType),
            std::to_string(reply.SeqId),
            std::to_string(reply.TripTime),
            std::to_string(reply.TimeToLive)};
}

std::vector<std::string> ErrorRowCells(const TReplyStatus& reply, const std::string& host, const TLocalTime& now,
                                       const std::string& timeSeparator)
{
    return {host,
            std::to_string(reply.Bytes),
            std::to_string(reply.IcmpType),
            std::to_string(reply.SeqId),
            std::to_string(reply.TripTime),
            DateTimeText(now, timeSeparator),
            StatusText(reply.Kind)};
}
