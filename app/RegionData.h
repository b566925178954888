// The skin outline as data, without a window system: the rectangles of a
// region in the banded order Windows reports them in, the region data record
// (RGNDATA) they are stored as, the "Mask2" payload around it (a 4-byte
// count, then that many bytes) and the byte stream it is read from and
// written to. The build-time mask tool and TCoolForm share it.
//
//   Mask2 payload, little-endian:
//   +0   u32 N            bytes of region data that follow; 0: no outline
//   +4   u32 dwSize = 32     RGNDATAHEADER, 32 bytes
//   +8   u32 iType = 1       (a list of rectangles)
//   +12  u32 nCount = R
//   +16  u32 nRgnSize        16 * R
//   +20  i32 x4 rcBound      left, top, right, bottom
//   +36  i32 x4 per rectangle: left, top, right, bottom (right, bottom outside)
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct TRegionRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TRegionRect&) const = default;
};

// The rectangles covering the points where `inside(x, y)` holds, in
// horizontal bands top to bottom, left to right within a band, nothing
// touching: each row's runs, with identical consecutive rows merged into
// one band. A run reaching the right edge stays open one pixel past it.
std::vector<TRegionRect> BandedRectangles(int width, int height, const std::function<bool(int x, int y)>& inside);

// How many bands the rectangles form (rectangles of a band share top and bottom).
int BandCount(const std::vector<TRegionRect>& rects);

// The RGNDATA record of the rectangles, with their bounding box.
std::vector<std::uint8_t> EncodeRegionData(const std::vector<TRegionRect>& rects);
// The rectangles of a record, or nullopt if it is not a well-formed list of
// rectangles that fits its bytes exactly.
std::optional<std::vector<TRegionRect>> DecodeRegionData(const std::vector<std::uint8_t>& data);

// A growable byte stream over memory, read and written at one position.
class TByteStream {
public:
    TByteStream() = default;
    TByteStream(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {}

    // Reads up to `size` bytes; returns how many were there.
    std::size_t Read(void* to, std::size_t size);
    void Write(const void* from, std::size_t size);

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::size_t Position() const { return position_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// Reads one payload: the region data bytes, or nothing when the count is 0,
// the count itself is cut short, or fewer bytes follow than it announces.
// Never reads past the announced bytes.
std::vector<std::uint8_t> ReadMask2(TByteStream& stream);
// Writes the count, then the bytes (just a 4-byte 0 for no outline).
void WriteMask2(TByteStream& stream, const std::vector<std::uint8_t>& regionData);
