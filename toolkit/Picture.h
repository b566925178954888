// Picture: a 24-bit picture held as bytes, top row first, and the reader of
// the BMP files our artwork is stored in: 24-bit uncompressed, 8-bit with a
// palette, plain or run-length encoded (RLE8). Portable, so the build-time
// mask tool and the tests read the same pixels the program draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tk {

struct Picture {
    int Width = 0;
    int Height = 0;
    // Blue, green, red per pixel, rows top to bottom, no padding.
    std::vector<std::uint8_t> Bgr;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    // 0x00BBGGRR of a pixel inside the picture.
    std::uint32_t Pixel(int x, int y) const;
};

// Reads a BMP with a BITMAPINFOHEADER (or later), bottom-up or top-down
// (run-length encoded ones bottom-up only).
// Anything else, or data that ends early, gives nullopt. RLE8 pixels that
// fall outside the picture are dropped, as the system does.
std::optional<Picture> DecodeBmp(const std::uint8_t* data, std::size_t size);

} // namespace tk
