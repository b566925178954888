#include "icmp/IdIcmpClient.h"

#include <windows.h>

#include <algorithm>
#include <span>

#include "icmp/EchoWait.h"
#include "icmp/MillisecondCounter.h"

// The wait's view of this client's socket: a failed receive raises here;
// the moment of each datagram is noted, so the one that completes the
// exchange gives its end.
class TIdIcmpClient::WaitIo : public TEchoWaitIo {
public:
    explicit WaitIo(TIdIcmpClient& client) : client_(client) {}

    std::int32_t Receive(std::span<std::uint8_t> buffer, std::int32_t timeout) override
    {
        int count = client_.ReceiveWithTimeout(buffer.data(), static_cast<int>(buffer.size()), timeout);
        client_.receivedUs_ = ReadMicrosecondCounter();
        GStack->RaiseIfSocketError(count);
        return count;
    }
    std::uint32_t ReadMillisecondCounter() override { return ::ReadMillisecondCounter(); }
    void HeldUp() override { client_.heldUp_ = true; }

private:
    TIdIcmpClient& client_;
};

TIdIcmpClient::TIdIcmpClient(tk::Component* owner) : TIdRawClient(owner)
{
    SetProtocol(IPPROTO_ICMP);
    SetReceiveTimeout(5000);
}

void TIdIcmpClient::Sending()
{
    sentUs_ = ReadMicrosecondCounter();
}

std::uint16_t TIdIcmpClient::Identifier()
{
    return static_cast<std::uint16_t>(GetCurrentProcessId());
}

void TIdIcmpClient::BuildRequest(const std::string& data)
{
    requestLength_ = EchoRequestSize;
    BuildEchoRequest(std::span(requestBuffer_).first<EchoRequestSize>(), Identifier(), sequence_,
                     ::ReadMillisecondCounter(), data);
}

TReplyStatus TIdIcmpClient::GetEchoReply()
{
    WaitIo io(*this);
    heldUp_ = false;
    return AwaitEchoReply(io, receiveBuffer_, Identifier(), sequence_, ReceiveTimeout());
}

void TIdIcmpClient::Ping(const std::string& data, std::uint16_t sequence)
{
    if (sequence != 0)
        sequence_ = sequence;
    BuildRequest(data);
    const std::uint32_t t0 = ::ReadMillisecondCounter();
    SendToHost(Host(), Port(), requestBuffer_.data(), requestLength_);
    TReplyStatus status = GetEchoReply();
    const std::uint32_t trip = MillisecondsBetween(t0, ::ReadMillisecondCounter());
    Binding().Close();
    replyStatus_ = std::move(status);
    replyStatus_.TripTime = trip;
    const std::int64_t preciseTrip = receivedUs_ - sentUs_;
    preciseTrip_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(preciseTrip, 0, UINT32_MAX));
    if (onReply_)
        onReply_(this, replyStatus_);
    ++sequence_; // wraps from 65535 to 0
}
