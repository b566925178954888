// The BMP reader behind the background tile: good files in both row orders,
// and every malformed header or short file refused without reading past the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "chart/ChartBitmap.h"

namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 2 x 2 picture: top row red, green; bottom row blue, white.
std::vector<std::uint8_t> SmallBmp(bool bottomUp)
{
    const std::size_t stride = 8; // 6 bytes of pixels, padded to 4
    std::vector<std::uint8_t> b(54 + 2 * stride, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, 2);
    Put32(b, 22, bottomUp ? 2u : static_cast<std::uint32_t>(-2));
    b[26] = 1;
    b[28] = 24;
    const std::uint8_t top[6] = {0, 0, 255, 0, 255, 0};
    const std::uint8_t bottom[6] = {255, 0, 0, 255, 255, 255};
    std::copy(bottomUp ? bottom : top, (bottomUp ? bottom : top) + 6, b.begin() + 54);
    std::copy(bottomUp ? top : bottom, (bottomUp ? top : bottom) + 6, b.begin() + 54 + stride);
    return b;
}

} // namespace

TEST(ChartBitmap, ReadsBothRowOrders)
{
    for (bool bottomUp : {true, false}) {
        auto bytes = SmallBmp(bottomUp);
        auto bmp = tk::DecodeBmp(bytes.data(), bytes.size());
        ASSERT_TRUE(bmp) << bottomUp;
        EXPECT_EQ(bmp->Width, 2);
        EXPECT_EQ(bmp->Height, 2);
        EXPECT_EQ(bmp->Pixel(0, 0), 0x000000FFu);
        EXPECT_EQ(bmp->Pixel(1, 0), 0x0000FF00u);
        EXPECT_EQ(bmp->Pixel(0, 1), 0x00FF0000u);
        EXPECT_EQ(bmp->Pixel(1, 1), 0x00FFFFFFu);
    }
}

TEST(ChartBitmap, RefusesWhatItCannotRead)
{
    const std::pair<const char*, std::function<void(std::vector<std::uint8_t>&)>> damage[] = {
        {"signature", [](auto& b) { b[1] = 'X'; }},
        {"8 bits", [](auto& b) { b[28] = 8; }},
        {"compressed", [](auto& b) { b[30] = 1; }},
        {"two planes", [](auto& b) { b[26] = 2; }},
        {"zero width", [](auto& b) { Put32(b, 18, 0); }},
        {"negative width", [](auto& b) { Put32(b, 18, static_cast<std::uint32_t>(-2)); }},
        {"zero height", [](auto& b) { Put32(b, 22, 0); }},
        {"huge height", [](auto& b) { Put32(b, 22, 0x7FFFFFFF); }},
        {"pixels beyond the end", [](auto& b) { Put32(b, 10, 0xFFFFFFF0u); }},
        {"small info header", [](auto& b) { Put32(b, 14, 12); }},
        {"info header beyond the end", [](auto& b) { Put32(b, 14, 0xFFFFFFFFu); }},
        {"last row cut", [](auto& b) { b.resize(b.size() - 1); }},
        {"header cut", [](auto& b) { b.resize(53); }},
    };
    for (const auto& [what, apply] : damage) {
        auto bytes = SmallBmp(true);
        apply(bytes);
        EXPECT_FALSE(tk::DecodeBmp(bytes.data(), bytes.size())) << what;
    }
    EXPECT_FALSE(tk::DecodeBmp(nullptr, 0));
}

TEST(ChartBitmap, BuiltInTileIsADarkPicture)
{
    const tk::Picture& tile = ChartBackgroundTile();
    ASSERT_EQ(tile.Width, 279);
    ASSERT_EQ(tile.Height, 103);
    // Dark enough everywhere for white labels to read.
    for (int y = 0; y < tile.Height; ++y)
        for (int x = 0; x < tile.Width; ++x) {
            const std::uint32_t c = tile.Pixel(x, y);
            const int luma = (299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * (c >> 16)) / 1000;
            ASSERT_LT(luma, 80) << x << "," << y;
        }
}
