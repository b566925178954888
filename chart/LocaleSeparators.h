// The user's decimal and digit-grouping separators, read from the Windows
// locale (in the ANSI code page, as the labels are drawn).
#pragma once

#include "chart/AxisScale.h"

TNumberSeparators ReadLocaleSeparators();
