// The local host's first IPv4 address, through the Windows Sockets 1.1
// functions of WSOCK32.DLL (imported; the echo engine's WS2_32 is loaded at
// run time instead). Kept apart so winsock.h meets no other socket header.
#pragma once

#include <string>

// Dotted decimal, or empty text when there is no sockets service, no host
// name or no address for it.
std::string LocalIPv4Address();
