// TIdStackWindows: the socket stack over Windows Sockets 2. Creating the first
// one starts the socket service (once per process); the service ends at
// process end. Wraps the socket calls of the echo path. Any thread; the
// process-wide instance is managed by TIdComponent.
// Win32 layer.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>

#include "icmp/IdSocketList.h"
#include "icmp/IdStack.h"

// The select call's view of a TIdSocketList.
class TIdSocketListWindows : public TIdSocketList {
public:
    // Raises EIdStackSetSizeExceeded for more sockets than an fd_set holds.
    void FillFdSet(fd_set& set) const;
};

class TIdStackWindows : public TIdStack {
public:
    TIdStackWindows();

    std::string TranslateSocketError(std::int32_t errorCode) const override;

    SOCKET WSSocket(int family, int type, int protocol);
    int WSSetSockOpt(SOCKET s, int level, int option, std::int32_t value);
    int WSSendTo(SOCKET s, const void* data, int length, const TIPv4Address& address, std::uint16_t port);
    int WSRecv(SOCKET s, void* buffer, int length);
    // timeoutMs: WaitForever for no limit. Any other negative value is no
    // time-out the select call accepts: it fails (SOCKET_ERROR) without waiting.
    int WSSelect(const TIdSocketListWindows& readList, std::int32_t timeoutMs);
    int WSShutdown(SOCKET s, int how);
    int WSCloseSocket(SOCKET s);

    // The started flag of the socket service (never cleared while the process runs).
    static bool ServiceStarted();
    // How often WSAStartup has succeeded in this process.
    static int ServiceStartCount();

    std::int32_t WSGetLastError() override;

protected:
    bool LookupHostName(const std::string& name, TIPv4Address& address) override;
};
