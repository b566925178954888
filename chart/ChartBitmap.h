// TChartBitmap: a 24-bit picture held as bytes, top row first, and the
// reader of the uncompressed 24-bit BMP files it comes from. Portable, so
// the painter and the tests see the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct TChartBitmap {
    int Width = 0;
    int Height = 0;
    // Blue, green, red per pixel, rows top to bottom, no padding.
    std::vector<std::uint8_t> Bgr;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    // 0x00BBGGRR of a pixel.
    std::uint32_t Pixel(int x, int y) const;
};

// Decodes a BMP with BITMAPINFOHEADER (or later), 24 bits, no compression,
// bottom-up or top-down. Anything else, or truncated data, gives nullopt.
std::optional<TChartBitmap> DecodeBmp24(const std::uint8_t* data, std::size_t size);

// The built-in background tile of the response-time chart (279 x 103).
const TChartBitmap& ChartBackgroundTile();
