// TIdSocketHandle: owns one platform socket (the raw socket of a client) and
// its allocated flag, and wraps its calls through the shared stack; closes
// it when destroyed. Caller's thread. Win32 layer.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>

class TIdSocketHandle {
public:
    TIdSocketHandle() = default;
    ~TIdSocketHandle();
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    // Closes any open socket first; raises EIdInvalidSocket when none can be made.
    void Open(int socketType, int protocol);
    // Shuts sending down and closes; results ignored; harmless when closed.
    void Close();
    void SetOption(int level, int option, std::int32_t value);
    // Raises EIdPackageSizeTooBig (10040), EIdNotAllBytesSent (short send) or
    // EIdSocketError (any other failure).
    void SendDatagram(const std::string& address, std::int32_t port, const void* data, int length);
    // One receive: the count, or −1 unchanged for the caller to check.
    int ReceiveBytes(void* buffer, int length);
    // True when data arrives within timeoutMs (WaitForever: no limit); raises
    // EIdConnClosedGracefully when the socket is not open.
    bool WaitReadable(std::int32_t timeoutMs);

    SOCKET Handle() const { return handle_; }
    bool HandleAllocated() const { return handleAllocated_; }

private:
    bool SelectOnce(std::int32_t timeoutMs);

    SOCKET handle_ = INVALID_SOCKET;
    bool handleAllocated_ = false;
};
