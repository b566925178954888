#include "icmp/IdWinSock2.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "icmp/IdException.h"
#include "toolkit/Win32Error.h"

namespace idwinsock2 {

namespace {

enum Function { FnWSAStartup, FnWSACleanup, FnSocket, FnSetSockOpt, FnSendTo, FnSelect, FnRecv, FnShutdown,
                FnCloseSocket, FnGetHostByName, FnWSAGetLastError, FnHtons, FunctionCount };

constexpr const char* FunctionNames[FunctionCount] = {
    "WSAStartup", "WSACleanup", "socket", "setsockopt", "sendto", "select", "recv",
    "shutdown", "closesocket", "gethostbyname", "WSAGetLastError", "htons",
};

HMODULE library = nullptr;
FARPROC bound[FunctionCount] = {};

[[noreturn]] void RaiseStubError(const std::string& context, DWORD code)
{
    throw EIdWS2StubError(context, static_cast<std::int32_t>(code), tk::SysErrorMessage(code));
}

template <class F>
F Bound(Function fn)
{
    FARPROC& address = bound[fn];
    if (!address) {
        std::string context = FormatMessageText(RSWS2CallError, FunctionNames[fn]);
        if (!library)
            RaiseStubError(context, WSANOTINITIALISED);
        address = GetProcAddress(library, FunctionNames[fn]);
        if (!address)
            RaiseStubError(context, GetLastError());
    }
    return reinterpret_cast<F>(reinterpret_cast<void*>(address));
}

} // namespace

void LoadWinsock2()
{
    if (library)
        return;
    library = LoadLibraryA(LibraryName);
    if (!library)
        RaiseStubError(FormatMessageText(RSWS2LoadError, LibraryName), GetLastError());
}

void UnloadWinsock2()
{
    for (auto& address : bound)
        address = nullptr;
    if (library)
        FreeLibrary(library);
    library = nullptr;
}

bool Winsock2Loaded()
{
    return library != nullptr;
}

bool FunctionBound(const char* name)
{
    for (int fn = 0; fn < FunctionCount; ++fn)
        if (std::string_view(FunctionNames[fn]) == name)
            return bound[fn] != nullptr;
    return false;
}

int WSAStartup(WORD versionRequested, LPWSADATA data)
{
    return Bound<decltype(&::WSAStartup)>(FnWSAStartup)(versionRequested, data);
}

int WSACleanup()
{
    return Bound<decltype(&::WSACleanup)>(FnWSACleanup)();
}

SOCKET socket(int family, int type, int protocol)
{
    return Bound<decltype(&::socket)>(FnSocket)(family, type, protocol);
}

int setsockopt(SOCKET s, int level, int option, const char* value, int length)
{
    return Bound<decltype(&::setsockopt)>(FnSetSockOpt)(s, level, option, value, length);
}

int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength)
{
    return Bound<decltype(&::sendto)>(FnSendTo)(s, buffer, length, flags, to, toLength);
}

int select(int nfds, fd_set* readSet, fd_set* writeSet, fd_set* exceptSet, timeval* timeout)
{
    return Bound<decltype(&::select)>(FnSelect)(nfds, readSet, writeSet, exceptSet, timeout);
}

int recv(SOCKET s, char* buffer, int length, int flags)
{
    return Bound<decltype(&::recv)>(FnRecv)(s, buffer, length, flags);
}

int shutdown(SOCKET s, int how)
{
    return Bound<decltype(&::shutdown)>(FnShutdown)(s, how);
}

int closesocket(SOCKET s)
{
    return Bound<decltype(&::closesocket)>(FnCloseSocket)(s);
}

hostent* gethostbyname(const char* name)
{
    return Bound<decltype(&::gethostbyname)>(FnGetHostByName)(name);
}

int WSAGetLastError()
{
    return Bound<decltype(&::WSAGetLastError)>(FnWSAGetLastError)();
}

u_short htons(u_short value)
{
    return Bound<decltype(&::htons)>(FnHtons)(value);
}

} // namespace idwinsock2
