#include "console/LocalAddress.h"

#include <windows.h>

#include <winsock.h>

std::string LocalIPv4Address()
{
    std::string address;
    WSADATA data{};
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0)
        return address;
    char name[128] = "";
    if (gethostname(name, sizeof name) == 0) {
        const hostent* host = gethostbyname(name);
        if (host && host->h_addrtype == AF_INET && host->h_addr_list && host->h_addr_list[0]) {
            in_addr first{};
            CopyMemory(&first, host->h_addr_list[0], sizeof first);
            address = inet_ntoa(first);
        }
    }
    WSACleanup();
    return address;
}
