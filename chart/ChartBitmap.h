// The chart's built-in picture: the background tile, embedded at build time
// and read by the toolkit's BMP reader, so the painter and the tests see the
// same pixels. Portable.
#pragma once

#include "toolkit/Picture.h"

// The built-in background tile of the response-time chart (279 x 103, 24-bit).
const tk::Picture& ChartBackgroundTile();
