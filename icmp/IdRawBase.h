// TIdRawBase: a raw IPv4 socket component. Owns its socket object (opened on
// demand, TTL 128 set on every acquisition) and records a general buffer size
// the echo path never uses. Caller's thread. Win32 layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "icmp/IdComponent.h"
#include "icmp/IdSocketHandle.h"

class TIdRawBase : public TIdComponent {
public:
    explicit TIdRawBase(tk::Component* owner = nullptr);
    ~TIdRawBase() override;

    // Opens the socket if needed, then sets the time-to-live, every time.
    TIdSocketHandle& AcquireSocket();
    void SendToHost(const std::string& host, std::int32_t port, const void* data, int length);
    // 0 for no buffer or count <= 0, or when nothing arrives in time; a
    // negative time-out means ReceiveTimeout. −1 is passed on unchecked.
    int ReceiveWithTimeout(void* buffer, int count, std::int32_t timeoutMs);

    std::int32_t BufferSize() const { return bufferSize_; }
    // Raises EIdException for a negative size and keeps the size it had.
    void SetBufferSize(std::int32_t value);

    const std::string& Host() const { return host_; }
    void SetHost(std::string value) { host_ = std::move(value); }
    std::int32_t Port() const { return port_; }
    std::int32_t Protocol() const { return protocol_; }
    void SetProtocol(std::int32_t value) { protocol_ = value; }

    TIdSocketHandle& Binding() { return *socket_; }

protected:
    // Just before the datagram goes out, once the host is resolved.
    virtual void Sending() {}
    std::int32_t ReceiveTimeout() const { return receiveTimeout_; }
    void SetReceiveTimeout(std::int32_t value) { receiveTimeout_ = value; }

private:
    static constexpr std::int32_t TimeToLive = 128;

    std::unique_ptr<TIdSocketHandle> socket_;
    // Only recorded: the echo path never uses a general buffer, so none is
    // allocated from a size the user types.
    std::int32_t bufferSize_ = 0;
    std::string host_;
    std::int32_t port_ = 0;
    std::int32_t protocol_ = 255; // raw IP
    std::int32_t receiveTimeout_ = 0;
};
