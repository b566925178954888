// TPingRecord: one ping of a monitoring run as it ended, kept once by the
// run and handed to its views: an echo, a failure (its kind in the reply)
// or a ping that sent nothing (its error message). It carries the reply as
// the echo client delivered it, the trip time to the microsecond, the
// monotonic instant it was sent, for durations, and the wall stamp of the
// moment it was filed, for every time shown. Plain data; portable.
#pragma once

#include <cstdint>
#include <string>

#include "icmp/ReplyStatus.h"
#include "monitor/RunClock.h"

enum class TPingOutcome : std::uint8_t { Echo, Failure, NotSent };

struct TPingRecord {
    TPingOutcome Outcome = TPingOutcome::Echo;
    TReplyStatus Reply;
    // From the send to the receive that completed the exchange.
    std::uint32_t TripUs = 0;
    TInstant Sent;
    TWallStamp Filed;
    // The host box's text when the reply was handled.
    std::string Host;
    // Why a ping sent nothing.
    std::string Message;
    // An echo's number since the last "Clear Data": its chart point's x.
    double EchoNumber = 0;
    // The wait ran past its deadline because the program was held up (a
    // modal loop, a sleep): a time-out that measured nothing of the network,
    // which the figures and alerts leave out.
    bool HeldUp = false;

    // When the exchange ended, on the monotonic clock.
    TInstant Ended() const { return Sent + TDuration(TripUs); }
};
