#include "icmp/IdStackWindows.h"

#include <cstring>

#include "icmp/IdException.h"
#include "icmp/IdWinSock2.h"
#include "icmp/WaitSlices.h"

namespace {

bool serviceStarted = false;
int serviceStartCount = 0;

// Ends the socket service at process end, then lets the library go.
struct ServiceEnd {
    ~ServiceEnd()
    {
        // Nobody is left to report a failure to at this point.
        try {
            if (serviceStarted)
                idwinsock2::WSACleanup();
        } catch (const EIdException&) {
        }
        idwinsock2::UnloadWinsock2();
    }
} serviceEnd;

} // namespace

void TIdSocketListWindows::FillFdSet(fd_set& set) const
{
    if (Count() > FD_SETSIZE)
        throw EIdStackSetSizeExceeded();
    // Filled by hand: FD_ISSET and friends would import WS2_32 functions.
    set.fd_count = static_cast<u_int>(Count());
    for (std::size_t i = 0; i < Count(); ++i)
        set.fd_array[i] = static_cast<SOCKET>(Items(i));
}

TIdStackWindows::TIdStackWindows()
{
    if (serviceStarted)
        return;
    idwinsock2::LoadWinsock2();
    WSADATA data{};
    if (idwinsock2::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        throw EIdStackInitializationFailed();
    serviceStarted = true;
    ++serviceStartCount;
}

bool TIdStackWindows::ServiceStarted()
{
    return serviceStarted;
}

int TIdStackWindows::ServiceStartCount()
{
    return serviceStartCount;
}

std::string TIdStackWindows::TranslateSocketError(std::int32_t errorCode) const
{
    if (errorCode == WSAHOST_NOT_FOUND)
        return FormatSocketError(errorCode, "Host not found.");
    return TIdStack::TranslateSocketError(errorCode);
}

SOCKET TIdStackWindows::WSSocket(int family, int type, int protocol)
{
    return idwinsock2::socket(family, type, protocol);
}

int TIdStackWindows::WSSetSockOpt(SOCKET s, int level, int option, std::int32_t value)
{
    return idwinsock2::setsockopt(s, level, option, reinterpret_cast<const char*>(&value), sizeof value);
}

int TIdStackWindows::WSSendTo(SOCKET s, const void* data, int length, const TIPv4Address& address,
                              std::uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = idwinsock2::htons(port);
    std::memcpy(&to.sin_addr, address.data(), address.size()); // already in network order
    return idwinsock2::sendto(s, static_cast<const char*>(data), length, 0, reinterpret_cast<const sockaddr*>(&to),
                              sizeof to);
}

int TIdStackWindows::WSRecv(SOCKET s, void* buffer, int length)
{
    return idwinsock2::recv(s, static_cast<char*>(buffer), length, 0);
}

int TIdStackWindows::WSSelect(const TIdSocketListWindows& readList, std::int32_t timeoutMs)
{
    fd_set readSet;
    readList.FillFdSet(readSet);
    if (timeoutMs == WaitForever)
        return idwinsock2::select(0, &readSet, nullptr, nullptr, nullptr);
    // Windows refuses a negative time-out as invalid, so the wait finds
    // nothing; Wine polls instead and could read a queued datagram.
    if (timeoutMs < 0)
        return SOCKET_ERROR;
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return idwinsock2::select(0, &readSet, nullptr, nullptr, &limit);
}

int TIdStackWindows::WSShutdown(SOCKET s, int how)
{
    return idwinsock2::shutdown(s, how);
}

int TIdStackWindows::WSCloseSocket(SOCKET s)
{
    return idwinsock2::closesocket(s);
}

bool TIdStackWindows::LookupHostName(const std::string& name, TIPv4Address& address)
{
    hostent* host = idwinsock2::gethostbyname(name.c_str());
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list || !host->h_addr_list[0])
        return false;
    std::memcpy(address.data(), host->h_addr_list[0], 4);
    return true;
}

std::int32_t TIdStackWindows::WSGetLastError()
{
    return idwinsock2::WSAGetLastError();
}
