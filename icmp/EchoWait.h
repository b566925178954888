// The wait for the reply of one echo request: receive and decode until the
// reply is found or the time is up. Portable;
// the socket and the clock come from the caller.
#pragma once

#include <cstdint>
#include <span>

#include "icmp/IcmpPacket.h"
#include "icmp/ReplyStatus.h"

class TEchoWaitIo {
public:
    virtual ~TEchoWaitIo() = default;
    // One datagram within timeout milliseconds: its byte count, 0 when none
    // came; a failed receive raises.
    virtual std::int32_t Receive(std::span<std::uint8_t> buffer, std::int32_t timeout) = 0;
    virtual std::uint32_t ReadMillisecondCounter() = 0;
    // The wait overran its deadline: something held the thread up between
    // receives (a modal loop run from a message handler, a sleep).
    virtual void HeldUp() {}
};

// How far past its deadline a wait may end before it counts as held up: a
// slice ends a little late on a busy machine, a modal loop ends much later.
inline constexpr std::uint32_t HeldUpMarginMs = 100;

// The record of the wait for the reply to the request with this identifier
// and sequence number: the reply, or a time-out once receiveTimeout has passed
// since the wait began by the clock. A reply first read after that deadline
// is no trip time: it ends as the time-out, and the wait was held up.
// TripTime is left for the caller.
TReplyStatus AwaitEchoReply(TEchoWaitIo& io, std::span<std::uint8_t, ReceiveBufferSize> buffer,
                            std::uint16_t identifier, std::uint16_t sequence, std::int32_t receiveTimeout);
