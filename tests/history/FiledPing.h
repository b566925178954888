// A ping as the history files hold it: one of each status, sent to
// now.example, filed at a wall moment with its UTC offset.
#pragma once

#include <chrono>
#include <cstdint>

#include "monitor/PingRecord.h"

inline TPingRecord FiledPing(TReplyStatusKind kind, std::uint32_t tripUs, std::int64_t utcMs, int offsetMinutes)
{
    TPingRecord r;
    r.Outcome = kind == rsEcho ? TPingOutcome::Echo : TPingOutcome::Failure;
    r.Reply.Kind = kind;
    r.Reply.AddressFrom = kind == rsTimeOut ? "" : "198.51.100.20";
    r.Reply.Bytes = kind == rsTimeOut ? 0 : 72;
    r.Reply.SeqId = static_cast<std::uint16_t>(utcMs / 1000);
    r.Reply.TimeToLive = kind == rsEcho ? 57 : 0;
    r.TripUs = tripUs;
    r.Filed = {utcMs, offsetMinutes};
    r.Sent = TInstant(std::chrono::milliseconds(utcMs)) - TDuration(tripUs);
    r.Host = "now.example";
    return r;
}
