// IdWinSock2: WS2_32.DLL bound at run time. The library is not among the
// program's imports: it is loaded when the socket service starts, and each
// function is looked up by name on its first call, typed by the header's own
// declaration so the 32-bit calling convention is right by construction.
// Win32 layer.
#pragma once

#include <winsock2.h>

namespace idwinsock2 {

inline constexpr char LibraryName[] = "WS2_32.DLL";

// Loads the library once; raises EIdWS2StubError with the system's code.
void LoadWinsock2();
// Frees the library and forgets every function looked up in it.
void UnloadWinsock2();
bool Winsock2Loaded();
// Whether a function has been looked up since the library was loaded.
bool FunctionBound(const char* name);

// The bound functions. Each raises EIdWS2StubError (code 10093) when called
// while the library is not loaded.
int WSAStartup(WORD versionRequested, LPWSADATA data);
int WSACleanup();
SOCKET socket(int family, int type, int protocol);
int setsockopt(SOCKET s, int level, int option, const char* value, int length);
int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength);
int select(int nfds, fd_set* readSet, fd_set* writeSet, fd_set* exceptSet, timeval* timeout);
int recv(SOCKET s, char* buffer, int length, int flags);
int shutdown(SOCKET s, int how);
int closesocket(SOCKET s);
hostent* gethostbyname(const char* name);
int WSAGetLastError();
u_short htons(u_short value);

} // namespace idwinsock2
