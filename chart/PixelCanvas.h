// TPixelCanvas: 32-bit pixels in memory (0x00RRGGBB, the layout of a 32-bit
// DIB) and the 1-pixel line drawing the series use. The painter draws lines
// itself rather than through GDI: a GDI call per segment costs far more than
// the pixels it sets, and a dense series has hundreds of segments.
// Portable, so the rasterisation is tested natively.
#pragma once

#include <cstdint>
#include <vector>

#include "chart/ChartLayout.h"
#include "chart/SeriesPath.h"

struct TPixelCanvas {
    std::uint32_t* Bits = nullptr; // top row first
    int Width = 0, Height = 0;
    int Stride = 0; // pixels from one row to the next

    std::uint32_t* Row(int y) const { return Bits + static_cast<std::ptrdiff_t>(y) * Stride; }
};

// 0x00BBGGRR (a COLORREF) to the canvas layout.
constexpr std::uint32_t CanvasColor(std::uint32_t bgr)
{
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

// Draws the path moved by (dx, dy): every segment without its end pixel,
// then the last point's pixel, only inside `clip` (and the canvas). A path
// that stays on one pixel (one point, or a line of zero length) draws nothing.
void DrawPath(const TPixelCanvas& canvas, const std::vector<TPixelPoint>& path, std::uint32_t color,
              const TPixelRect& clip, int dx = 0, int dy = 0);

// A 3D series' body: the path drawn as DrawPath draws it moved by (z, -z) and
// by (z - 1, -z) for every z from zBack down to zFront + 1, each copy inside
// `plot` moved with it. The copies overlap almost wholly; every pixel of
// them is written once, so a dense series costs its area, not its area times
// the depth.
void DrawRibbon(const TPixelCanvas& canvas, const std::vector<TPixelPoint>& path, std::uint32_t color,
                const TPixelRect& plot, int zBack, int zFront);
