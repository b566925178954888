#include "icmp/IdRawBase.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "icmp/IdException.h"

TIdRawBase::TIdRawBase(tk::Component* owner)
    : TIdComponent(owner), socket_(std::make_unique<TIdSocketHandle>())
{
    SetBufferSize(8192);
}

// The socket goes before the count that keeps the stack alive is dropped.
TIdRawBase::~TIdRawBase() = default;

TIdSocketHandle& TIdRawBase::AcquireSocket()
{
    if (!socket_->HandleAllocated())
        socket_->Open(SOCK_RAW, protocol_);
    socket_->SetOption(IPPROTO_IP, IP_TTL, TimeToLive);
    return *socket_;
}

void TIdRawBase::SendToHost(const std::string& host, std::int32_t port, const void* data, int length)
{
    std::string address = GStack->ResolveHostAddress(host);
    TIdSocketHandle& socket = AcquireSocket();
    Sending();
    socket.SendDatagram(address, port, data, length);
}

int TIdRawBase::ReceiveWithTimeout(void* buffer, int count, std::int32_t timeoutMs)
{
    if (count <= 0 || !buffer)
        return 0;
    if (timeoutMs < 0)
        timeoutMs = receiveTimeout_;
    TIdSocketHandle& s = AcquireSocket();
    if (s.WaitReadable(timeoutMs))
        return s.ReceiveBytes(buffer, count);
    return 0;
}

void TIdRawBase::SetBufferSize(std::int32_t value)
{
    if (value < 0)
        throw EIdException("BufferSize must not be negative");
    bufferSize_ = value;
}
