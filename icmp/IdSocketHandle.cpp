#include "icmp/IdSocketHandle.h"

#include "icmp/IdAntiFreezeBase.h"
#include "icmp/IdComponent.h"
#include "icmp/IdException.h"
#include "icmp/MillisecondCounter.h"
#include "icmp/PerformanceCounter.h"
#include "icmp/WaitSlices.h"

TIdSocketHandle::~TIdSocketHandle()
{
    try {
        Close();
    } catch (const EIdException&) {
        // The library is gone at process end; the socket went with it.
    }
}

void TIdSocketHandle::Open(int socketType, int protocol)
{
    Close();
    SOCKET s = GStack->WSSocket(AF_INET, socketType, protocol);
    if (s == INVALID_SOCKET)
        throw EIdInvalidSocket();
    handle_ = s;
    handleAllocated_ = true;
}

void TIdSocketHandle::Close()
{
    if (!handleAllocated_)
        return;
    handleAllocated_ = false;
    const SOCKET s = handle_;
    handle_ = INVALID_SOCKET;
    // The socket is closed even when shutting it down raises; that first
    // failure is the one reported.
    try {
        GStack->WSShutdown(s, SD_SEND);
    } catch (const EIdException&) {
        try {
            GStack->WSCloseSocket(s);
        } catch (const EIdException&) {
        }
        throw;
    }
    GStack->WSCloseSocket(s);
}

void TIdSocketHandle::SetOption(int level, int option, std::int32_t value)
{
    GStack->RaiseIfSocketError(GStack->WSSetSockOpt(handle_, level, option, value));
}

void TIdSocketHandle::SendDatagram(const std::string& address, std::int32_t port, const void* data, int length)
{
    TIPv4Address to = TIdStack::TextToAddress(address);
    int sent = GStack->WSSendTo(handle_, data, length, to, static_cast<std::uint16_t>(port));
    if (sent == SOCKET_ERROR && GStack->WSGetLastError() == WSAEMSGSIZE)
        throw EIdPackageSizeTooBig();
    GStack->RaiseIfSocketError(sent);
    if (sent < length)
        throw EIdNotAllBytesSent();
}

int TIdSocketHandle::ReceiveBytes(void* buffer, int length)
{
    return GStack->WSRecv(handle_, buffer, length);
}

bool TIdSocketHandle::SelectOnce(std::int32_t timeoutMs)
{
    TIdSocketListWindows list;
    list.Add(handle_);
    // A failed select counts as not readable and is not reported.
    return GStack->WSSelect(list, timeoutMs) == 1;
}

bool TIdSocketHandle::WaitReadable(std::int32_t timeoutMs)
{
    if (!handleAllocated_)
        throw EIdConnClosedGracefully();
    const bool sliced = TIdAntiFreezeBase::InUse();
    const std::int32_t idle = sliced ? TIdAntiFreezeBase::Current()->IdleTimeOut() : 0;
    const TWaitSlicePlan plan = PlanWaitSlices(timeoutMs, idle, sliced);
    const std::uint32_t start = ReadMillisecondCounter();
    std::int32_t slice = plan.First;
    for (std::int32_t done = 0;; ++done) {
        bool readable = SelectOnce(slice);
        TIdAntiFreezeBase::Pump(!readable, false);
        if (readable)
            return true;
        if (plan.RestCount >= 0 && done >= plan.RestCount)
            return false;
        // The slices are counted, but a message handler may have held the
        // thread far longer than a slice: the wait ends at its deadline.
        if (timeoutMs >= 0 && MillisecondsBetween(start, ReadMillisecondCounter()) >= static_cast<std::uint32_t>(timeoutMs))
            return SelectOnce(0);
        // A wait without limit goes on slice by slice, and a message handler
        // may have closed the socket in between.
        if (plan.RestCount < 0 && !handleAllocated_)
            throw EIdConnClosedGracefully();
        slice = plan.Rest;
    }
}
