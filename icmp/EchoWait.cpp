#include "icmp/EchoWait.h"

#include <algorithm>

#include "icmp/MillisecondCounter.h"

TReplyStatus AwaitEchoReply(TEchoWaitIo& io, std::span<std::uint8_t, ReceiveBufferSize> buffer,
                            std::uint16_t identifier, std::uint16_t sequence, std::int32_t receiveTimeout)
{
    TReplyStatus status;
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    std::int64_t remaining = receiveTimeout;
    const std::uint32_t start = io.ReadMillisecondCounter();
    for (;;) {
        std::int32_t count = io.Receive(buffer, static_cast<std::int32_t>(remaining));
        std::size_t received = static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, ReceiveBufferSize));
        if (DecodeEchoReply(buffer.first(received), identifier, sequence, status))
            return status;
        // The wait ends ReceiveTimeout after it began, however many foreign
        // datagrams came in between.
        remaining = std::int64_t{receiveTimeout} - MillisecondsBetween(start, io.ReadMillisecondCounter());
        if (remaining <= 0)
            break;
    }
    // Foreign datagrams used up the time: what happened to ours is a time-out.
    SetTimeOut(status, sequence);
    return status;
}
