// The performance counter read in milliseconds (for the specified trip
// time and the wait's deadline) and in microseconds (for the precise trip
// time and the run's monotonic clock); the tick count where the counter
// cannot be read. Win32 layer.
#pragma once

#include <cstdint>

// Milliseconds from the performance counter, or the tick count where it cannot be read.
std::uint32_t ReadMillisecondCounter();
// Microseconds from the performance counter, or from the tick count where
// it cannot be read; never goes back.
std::int64_t ReadMicrosecondCounter();
