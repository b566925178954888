#include "toolkit/Picture.h"

#include <algorithm>
#include <iterator>

namespace tk {

std::uint32_t Picture::Pixel(int x, int y) const
{
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)) * 3;
    return static_cast<std::uint32_t>(Bgr.at(at + 2)) | (static_cast<std::uint32_t>(Bgr.at(at + 1)) << 8) |
           (static_cast<std::uint32_t>(Bgr.at(at)) << 16);
}

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;

std::uint32_t Le32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The fields of the file and info headers that decoding needs.
struct BmpHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;
    unsigned bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t pixelsAt = 0;
    std::uint32_t paletteAt = 0;
    std::uint32_t colours = 0;
};

std::optional<BmpHeader> ReadHeader(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M')
        return std::nullopt;
    BmpHeader h;
    h.pixelsAt = Le32(data + 10);
    const std::uint32_t infoSize = Le32(data + 14);
    if (infoSize < 40 || infoSize > size - 14 || Le16(data + 26) != 1)
        return std::nullopt;
    h.width = static_cast<std::int32_t>(Le32(data + 18));
    h.height = static_cast<std::int32_t>(Le32(data + 22));
    h.bits = Le16(data + 28);
    h.compression = Le32(data + 30);
    h.colours = Le32(data + 46);
    h.paletteAt = 14 + infoSize;
    // Limits keep the size arithmetic far from overflow.
    if (h.width <= 0 || h.width > 30000 || h.height == 0 || h.height < -30000 || h.height > 30000)
        return std::nullopt;
    if (h.pixelsAt > size)
        return std::nullopt;
    return h;
}

// A palette of BGRX entries; an 8-bit index past its end is refused.
struct Palette {
    const std::uint8_t* entries = nullptr;
    std::size_t count = 0;
};

std::optional<Palette> ReadPalette(const BmpHeader& h, std::size_t size, const std::uint8_t* data)
{
    const std::size_t count = h.colours ? h.colours : 256;
    if (count > 256 || h.paletteAt > size || (size - h.paletteAt) / 4 < count || h.paletteAt + count * 4 > h.pixelsAt)
        return std::nullopt;
    return Palette{data + h.paletteAt, count};
}

class PixelSink {
public:
    PixelSink(Picture& picture, bool bottomUp) : picture_(picture), bottomUp_(bottomUp) {}

    // Pixels outside the picture are dropped: encoders pad RLE rows to the
    // stride. An index outside the palette fails the picture.
    bool Put(int x, int fileRow, const Palette& palette, std::uint8_t index)
    {
        if (index >= palette.count)
            return false;
        if (x < 0 || x >= picture_.Width || fileRow < 0 || fileRow >= picture_.Height)
            return true;
        const int y = bottomUp_ ? picture_.Height - 1 - fileRow : fileRow;
        std::uint8_t* to = picture_.Bgr.data() + (static_cast<std::size_t>(y) * picture_.Width + x) * 3;
        // By byte: a copy of three bytes becomes a library call per pixel.
        const std::uint8_t* from = palette.entries + index * 4;
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        return true;
    }

private:
    Picture& picture_;
    bool bottomUp_;
};

bool DecodeRle8(const std::uint8_t* p, const std::uint8_t* end, const Palette& palette, PixelSink& sink)
{
    int x = 0;
    int row = 0;
    while (end - p >= 2) {
        const std::uint8_t count = p[0];
        const std::uint8_t value = p[1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                if (!sink.Put(x++, row, palette, value))
                    return false;
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (end - p < 2)
                return false;
            x += p[0];
            row += p[1];
            p += 2;
        } else {
            // An absolute run, padded to a whole word.
            const std::size_t padded = (value + 1u) & ~1u;
            if (static_cast<std::size_t>(end - p) < padded)
                return false;
            for (int i = 0; i < value; ++i)
                if (!sink.Put(x++, row, palette, p[i]))
                    return false;
            p += padded;
        }
    }
    return false; // no end-of-bitmap mark
}

bool DecodeRows(const std::uint8_t* pixels, std::size_t available, const BmpHeader& h, const Palette* palette,
                PixelSink& sink, Picture& picture)
{
    const std::size_t bytesPerPixel = h.bits / 8;
    const std::size_t stride = (static_cast<std::size_t>(h.width) * bytesPerPixel + 3) & ~static_cast<std::size_t>(3);
    if (available / stride < static_cast<std::size_t>(picture.Height))
        return false;
    for (int row = 0; row < picture.Height; ++row) {
        const std::uint8_t* src = pixels + stride * static_cast<std::size_t>(row);
        for (int x = 0; x < picture.Width; ++x) {
            if (palette) {
                if (!sink.Put(x, row, *palette, src[x]))
                    return false;
                continue;
            }
            const Palette direct{src + x * 3, 1};
            if (!sink.Put(x, row, direct, 0))
                return false;
        }
    }
    return true;
}

} // namespace

std::optional<Picture> DecodeBmp(const std::uint8_t* data, std::size_t size)
{
    const auto h = ReadHeader(data, size);
    if (!h)
        return std::nullopt;
    const bool rle = h->bits == 8 && h->compression == kRle8 && h->height > 0;
    if (!rle && !((h->bits == 8 || h->bits == 24) && h->compression == kRgb))
        return std::nullopt;
    Picture picture;
    picture.Width = h->width;
    picture.Height = h->height > 0 ? h->height : -h->height;
    picture.Bgr.assign(static_cast<std::size_t>(picture.Width) * 3 * static_cast<std::size_t>(picture.Height), 0);
    PixelSink sink(picture, h->height > 0);
    std::optional<Palette> palette;
    if (h->bits == 8 && !(palette = ReadPalette(*h, size, data)))
        return std::nullopt;
    const std::uint8_t* pixels = data + h->pixelsAt;
    const bool ok = rle ? DecodeRle8(pixels, data + size, *palette, sink)
                        : DecodeRows(pixels, size - h->pixelsAt, *h, palette ? &*palette : nullptr, sink, picture);
    if (!ok)
        return std::nullopt;
    return picture;
}

namespace {

constexpr std::uint8_t kPackedMagic[] = {'Z', 'V', 'R', '1'};
constexpr std::size_t kPackedHeader = 8;
constexpr std::size_t kRunBytes = 4;
constexpr std::size_t kLongestRun = 256;

} // namespace

std::vector<std::uint8_t> PackPicture(const Picture& picture)
{
    std::vector<std::uint8_t> out(std::begin(kPackedMagic), std::end(kPackedMagic));
    for (const int side : {picture.Width, picture.Height})
        out.insert(out.end(), {static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side >> 8)});
    const std::uint8_t* p = picture.Bgr.data();
    const std::uint8_t* const end = p + picture.Bgr.size();
    while (p < end) {
        std::size_t run = 1;
        while (run < kLongestRun && p + run * 3 < end && std::equal(p, p + 3, p + run * 3))
            ++run;
        out.insert(out.end(), {static_cast<std::uint8_t>(run - 1), p[0], p[1], p[2]});
        p += run * 3;
    }
    return out;
}

std::optional<Picture> UnpackPicture(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < kPackedHeader || !std::equal(std::begin(kPackedMagic), std::end(kPackedMagic), data))
        return std::nullopt;
    Picture picture;
    picture.Width = Le16(data + 4);
    picture.Height = Le16(data + 6);
    const std::size_t pixels = static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height);
    const std::size_t runs = (size - kPackedHeader) / kRunBytes;
    // Before anything is allocated: a few bytes must not ask for a large picture.
    if (picture.Empty() || picture.Width > kMaxPackedSide || picture.Height > kMaxPackedSide ||
        (size - kPackedHeader) % kRunBytes != 0 || runs < (pixels + kLongestRun - 1) / kLongestRun)
        return std::nullopt;
    picture.Bgr.resize(pixels * 3);
    std::uint8_t* to = picture.Bgr.data();
    std::size_t left = pixels;
    for (const std::uint8_t* run = data + kPackedHeader; run != data + size; run += kRunBytes) {
        const std::size_t count = run[0] + std::size_t{1};
        if (count > left)
            return std::nullopt;
        for (std::size_t i = 0; i < count; ++i, to += 3) {
            to[0] = run[1];
            to[1] = run[2];
            to[2] = run[3];
        }
        left -= count;
    }
    if (left != 0)
        return std::nullopt;
    return picture;
}

} // namespace tk
