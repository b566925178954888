// TIdIcmpClient: one ICMP echo exchange at a time over a raw socket: builds
// the request, sends it to Host, waits up to ReceiveTimeout for the reply
// carrying its identifier and sequence number and hands the decoded record to
// OnReply before Ping returns. Caller's thread (the GUI thread in the
// program). Win32 layer.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "icmp/IcmpPacket.h"
#include "icmp/IdRawClient.h"
#include "icmp/PerformanceCounter.h"
#include "icmp/ReplyStatus.h"


class TIdIcmpClient : public TIdRawClient {
public:
    static constexpr std::uint16_t FirstSequence = 3489;

    explicit TIdIcmpClient(tk::Component* owner = nullptr);

    // A nonzero sequence replaces the current one first. Failures leave as
    // exceptions; OnReply is then not called and the socket stays open.
    void Ping(const std::string& data = std::string(), std::uint16_t sequence = 0);

    const TReplyStatus& ReplyStatus() const { return replyStatus_; }
    // The last exchange in microseconds, from the send to the receive that
    // completed it (to the end of the wait for a time-out).
    std::uint32_t PreciseTripTime() const { return preciseTrip_; }
    // The last wait ran past its deadline because the thread was held up
    // (a modal loop, a sleep): its ping ended as a time-out that measured
    // nothing of the network.
    bool WaitHeldUp() const { return heldUp_; }
    // The echo identifier: the low 16 bits of the process id.
    static std::uint16_t Identifier();
    std::uint16_t CurrentSequence() const { return sequence_; }

    const TOnReplyEvent& OnReply() const { return onReply_; }
    void SetOnReply(TOnReplyEvent handler) { onReply_ = std::move(handler); }

private:
    class WaitIo;

    void Sending() override;
    void BuildRequest(const std::string& data);
    TReplyStatus GetEchoReply();

    std::array<std::uint8_t, ReceiveBufferSize> receiveBuffer_{};
    std::array<std::uint8_t, ReceiveBufferSize> requestBuffer_{};
    std::int32_t requestLength_ = 0;
    std::uint16_t sequence_ = FirstSequence;
    TReplyStatus replyStatus_;
    std::int64_t sentUs_ = 0, receivedUs_ = 0;
    std::uint32_t preciseTrip_ = 0;
    bool heldUp_ = false;
    TOnReplyEvent onReply_;
};
