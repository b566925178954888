#include "icmp/PerformanceCounter.h"

#include <windows.h>

#include "icmp/MillisecondCounter.h"

std::uint32_t ReadMillisecondCounter()
{
    LARGE_INTEGER frequency, value;
    if (QueryPerformanceFrequency(&frequency) && QueryPerformanceCounter(&value) && frequency.QuadPart > 0)
        return CounterToMilliseconds(static_cast<std::uint64_t>(value.QuadPart),
                                     static_cast<std::uint64_t>(frequency.QuadPart));
    return GetTickCount();
}

std::int64_t ReadMicrosecondCounter()
{
    LARGE_INTEGER frequency, value;
    if (QueryPerformanceFrequency(&frequency) && QueryPerformanceCounter(&value) && frequency.QuadPart > 0)
        return static_cast<std::int64_t>(CounterToMicroseconds(static_cast<std::uint64_t>(value.QuadPart),
                                                               static_cast<std::uint64_t>(frequency.QuadPart)));
    return static_cast<std::int64_t>(GetTickCount64()) * 1000;
}
