#include "chart/ChartBitmap.h"

#include <algorithm>

#include "chart/ChartTileData.h"

std::uint32_t TChartBitmap::Pixel(int x, int y) const
{
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                            static_cast<std::size_t>(x)) * 3;
    return static_cast<std::uint32_t>(Bgr.at(at + 2)) | (static_cast<std::uint32_t>(Bgr.at(at + 1)) << 8) |
           (static_cast<std::uint32_t>(Bgr.at(at)) << 16);
}

namespace {

std::uint32_t Le32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

std::optional<TChartBitmap> DecodeBmp24(const std::uint8_t* data, std::size_t size)
{
    // File header (14 bytes) and at least the 40-byte info header.
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M')
        return std::nullopt;
    const std::uint32_t pixelsAt = Le32(data + 10);
    const std::uint32_t headerSize = Le32(data + 14);
    if (headerSize < 40 || headerSize > size - 14)
        return std::nullopt;
    const std::int32_t width = static_cast<std::int32_t>(Le32(data + 18));
    const std::int32_t height = static_cast<std::int32_t>(Le32(data + 22));
    if (Le16(data + 26) != 1 || Le16(data + 28) != 24 || Le32(data + 30) != 0)
        return std::nullopt;
    // Limits keep the size arithmetic far from overflow.
    if (width <= 0 || width > 30000 || height == 0 || height < -30000 || height > 30000)
        return std::nullopt;
    const bool bottomUp = height > 0;
    const int rows = bottomUp ? height : -height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    if (pixelsAt > size || (size - pixelsAt) / stride < static_cast<std::size_t>(rows))
        return std::nullopt;

    TChartBitmap bmp;
    bmp.Width = width;
    bmp.Height = rows;
    bmp.Bgr.resize(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(rows));
    for (int y = 0; y < rows; ++y) {
        const int fileRow = bottomUp ? rows - 1 - y : y;
        const std::uint8_t* src = data + pixelsAt + stride * static_cast<std::size_t>(fileRow);
        std::copy(src, src + static_cast<std::size_t>(width) * 3,
                  bmp.Bgr.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(y)));
    }
    return bmp;
}

const TChartBitmap& ChartBackgroundTile()
{
    static const TChartBitmap tile = [] {
        // A broken tile leaves the plain chart colour; the tests catch it.
        return DecodeBmp24(ChartTileBmp, sizeof ChartTileBmp).value_or(TChartBitmap{});
    }();
    return tile;
}
