// Picture: a 24-bit picture held as bytes, top row first, the reader of the
// BMP files our artwork is stored in (24-bit uncompressed, 8-bit with a
// palette, plain or run-length encoded: RLE8) and our own packed form of a
// 24-bit picture. Portable, so the build-time tools and the tests read the
// same pixels the program draws.
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

// The packed form, for 24-bit artwork with long runs of one colour, which
// RLE8 cannot hold with more than 256 colours:
//   "ZVR1"  width (u16)  height (u16)  runs...
// little-endian; each run is [count - 1 (u8)][blue][green][red], over the
// pixels row by row from the top, a run may go on into the next row.
std::vector<std::uint8_t> PackPicture(const Picture& picture);
// nullopt unless the runs fill the picture exactly and the sides are within
// kMaxPackedSide.
std::optional<Picture> UnpackPicture(const std::uint8_t* data, std::size_t size);
constexpr int kMaxPackedSide = 8192;

} // namespace tk
