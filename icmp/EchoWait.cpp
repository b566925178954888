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
        // Ours, or nothing came in the time given: the wait is over.
        const bool ended = DecodeEchoReply(buffer.first(received), identifier, sequence, status);
        // The wait ends ReceiveTimeout after it began by the clock, however
        // many foreign datagrams came in between.
        const std::uint32_t elapsed = MillisecondsBetween(start, io.ReadMillisecondCounter());
        remaining = std::int64_t{receiveTimeout} - elapsed;
        const bool readLate = ended && received > 0 && remaining < 0;
        if (readLate || remaining < -std::int64_t{HeldUpMarginMs}) {
            io.HeldUp();
            status = TReplyStatus{};
            break;
        }
        if (ended)
            return status;
        if (remaining <= 0)
            break;
    }
    // Foreign datagrams used up the time: what happened to ours is a time-out.
    SetTimeOut(status, sequence);
    return status;
}
