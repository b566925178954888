// TReplyStatus: the result of one echo exchange, as handed to OnReply and
// kept as the client's last reply. Plain data; portable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tk {
class Component;
}

enum TReplyStatusKind : std::uint8_t {
    rsEcho = 0,
    rsError = 1, // only provisional while a datagram is decoded; never delivered
    rsTimeOut = 2,
    rsErrorUnreachable = 3,
    rsErrorTTLExceeded = 4,
};

struct TReplyStatus {
    std::int32_t Bytes = 0;
    std::string AddressFrom;
    std::uint8_t IcmpType = 0;
    std::uint16_t SeqId = 0;
    std::uint32_t TripTime = 0;
    std::uint8_t TimeToLive = 0;
    TReplyStatusKind Kind = rsEcho;
};

// The reply handler: the record is valid for the duration of the call only.
using TOnReplyEvent = std::function<void(tk::Component* ASender, const TReplyStatus& AReplyStatus)>;
