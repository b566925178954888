// The monitoring run's clock on Windows: the performance counter for the
// monotonic instant and the system time with the local offset in force
// then, read together in this one place. Win32 layer.
#pragma once

#include "monitor/RunClock.h"

TClockReading ReadSystemClock();
