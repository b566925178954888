// The skin's outline as data: banding small pictures the way Windows reports
// regions, the real skin's telling rows, the Mask2 stream and the BMP reader
// the mask tool reads the skin with.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/RegionData.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureScale.h"

namespace {

using Rects = std::vector<TRegionRect>;

// Banded: sorted bands that do not overlap; in a band, rectangles share top
// and bottom, run left to right and do not touch.
void ExpectBanded(const Rects& rects)
{
    for (std::size_t i = 1; i < rects.size(); ++i) {
        const TRegionRect& a = rects[i - 1];
        const TRegionRect& b = rects[i];
        if (a.top == b.top) {
            EXPECT_EQ(a.bottom, b.bottom) << "rect " << i;
            EXPECT_LT(a.right, b.left) << "rect " << i << " touches its neighbour";
        } else {
            EXPECT_LE(a.bottom, b.top) << "rect " << i << " overlaps the band above";
        }
    }
}

Rects BandsOf(const std::vector<std::string>& rows)
{
    const int width = static_cast<int>(rows.front().size());
    return BandedRectangles(width, static_cast<int>(rows.size()),
                            [&](int x, int y) { return rows[y][x] == '#'; });
}

std::vector<std::uint8_t> Le32(std::uint32_t v)
{
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

} // namespace

TEST(MaskTool, SmallPicturesGiveBandedRectangles)
{
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        Rects expected;
    };
    const Case cases[] = {
        {"a single pixel", {".....", "..#..", "....."}, {{2, 1, 3, 2}}},
        {"a hole splits its rows into two rectangles",
         {"......", ".####.", ".#..#.", ".####.", "......"},
         {{1, 1, 5, 2}, {1, 2, 2, 3}, {4, 2, 5, 3}, {1, 3, 5, 4}}},
        {"identical rows merge into one band", {"......", ".##.#.", ".##.#.", ".##.#."}, {{1, 1, 3, 4}, {4, 1, 5, 4}}},
        {"a run shifted by one pixel starts a new band", {".##...", "..##.."}, {{1, 0, 3, 1}, {2, 1, 4, 2}}},
        {"touching pixels form one run", {"###.##"}, {{0, 0, 3, 1}, {4, 0, 7, 1}}},
        {"a run at the right edge stays open one pixel", {"..##", "...."}, {{2, 0, 5, 1}}},
        {"an empty picture", {"....", "...."}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Rects rects = BandsOf(c.rows);
        EXPECT_EQ(rects, c.expected);
        ExpectBanded(rects);
        EXPECT_EQ(DecodeRegionData(EncodeRegionData(rects)), rects);
    }
}

TEST(MaskTool, TheSkinGivesTheOutlinesTellingRows)
{
    std::ifstream in(ZV_SKIN_BMP, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto skin = tk::DecodeBmp(file.data(), file.size());
    ASSERT_TRUE(skin.has_value());
    ASSERT_EQ(skin->Width, 500);
    ASSERT_EQ(skin->Height, 300);
    const Rects rects = BandedRectangles(500, 300, [&](int x, int y) { return skin->Pixel(x, y) != 0x0000FF33; });
    ExpectBanded(rects);
    auto band = [&](int top) {
        Rects out;
        for (const TRegionRect& r : rects)
            if (r.top == top)
                out.push_back(r);
        return out;
    };
    EXPECT_EQ(rects.front(), (TRegionRect{12, 27, 15, 28})) << "the tip is the topmost part";
    EXPECT_EQ(band(46), (Rects{{27, 46, 39, 47}, {42, 46, 97, 47}}));
    EXPECT_EQ(band(51), (Rects{{29, 51, 464, 55}}));
    EXPECT_EQ(band(171), (Rects{{25, 171, 464, 227}}));
    EXPECT_EQ(band(230), (Rects{{35, 230, 109, 231}, {113, 230, 188, 231}}));
    EXPECT_EQ(band(249), (Rects{{35, 249, 94, 250}, {113, 249, 173, 250}}));
    EXPECT_EQ(rects.back(), (TRegionRect{1, 299, 501, 300}));
    // Inside the 475 x 265 window the outline spans x 8 to 463 and y 27 to 249.
    int left = 475, right = 0, bottom = 0;
    for (const TRegionRect& r : rects)
        if (r.top < 265) {
            left = std::min(left, r.left);
            right = std::max(right, r.right);
            bottom = std::max(bottom, r.bottom);
        }
    EXPECT_EQ(left, 8);
    EXPECT_EQ(right, 464);
    EXPECT_EQ(bottom, 250);
}

TEST(Mask2Stream, ReadsAndWritesPayloads)
{
    const auto region = EncodeRegionData({{1, 2, 3, 4}, {5, 2, 9, 4}});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> payload;
        std::vector<std::uint8_t> data;  // what is read
        std::size_t position;            // where reading stops
    };
    std::vector<std::uint8_t> whole = Le32(static_cast<std::uint32_t>(region.size()));
    whole.insert(whole.end(), region.begin(), region.end());
    std::vector<std::uint8_t> truncated(whole.begin(), whole.end() - 1);
    const Case cases[] = {
        {"four zero bytes: no outline", {0, 0, 0, 0}, {}, 4},
        {"a whole payload", whole, region, whole.size()},
        {"fewer bytes than announced", truncated, {}, truncated.size()},
        {"a count cut short", {0x40, 0}, {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TByteStream in(c.payload.data(), c.payload.size());
        EXPECT_EQ(ReadMask2(in), c.data);
        EXPECT_EQ(in.Position(), c.position);
        TByteStream out;
        WriteMask2(out, c.data);
        std::vector<std::uint8_t> expected = c.data.empty() ? std::vector<std::uint8_t>{0, 0, 0, 0} : c.payload;
        EXPECT_EQ(out.Bytes(), expected);
    }
}

TEST(Mask2Stream, RefusesRegionDataThatDoesNotFitItsBytes)
{
    const auto good = EncodeRegionData({{1, 2, 3, 4}});
    auto withCount = [&](std::uint32_t count) {
        auto data = good;
        const auto le = Le32(count);
        std::copy(le.begin(), le.end(), data.begin() + 8);
        return data;
    };
    auto withType = [&](std::uint8_t type) {
        auto data = good;
        data[4] = type;
        return data;
    };
    EXPECT_TRUE(DecodeRegionData(good).has_value());
    for (const auto& bad : {withCount(2), withCount(0x10000001), withType(2),
                            std::vector<std::uint8_t>(good.begin(), good.end() - 1),
                            std::vector<std::uint8_t>(good.begin(), good.begin() + 31)})
        EXPECT_FALSE(DecodeRegionData(bad).has_value());
}

TEST(PictureReader, ReadsRle8AndRefusesEveryTruncation)
{
    // A 3 x 2 picture, bottom row first: a run of 4 that pads one pixel past
    // the edge, the end of the line, an absolute run of 3 (padded to a word),
    // a delta, the end mark.
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    auto put = [&](std::vector<std::uint8_t> bytes) { bmp.insert(bmp.end(), bytes.begin(), bytes.end()); };
    put(Le32(0)), put(Le32(0)), put(Le32(14 + 40 + 8));
    put(Le32(40)), put(Le32(3)), put(Le32(2)), put({1, 0, 8, 0}), put(Le32(1)), put(Le32(0)), put(Le32(0)),
        put(Le32(0)), put(Le32(2)), put(Le32(0));
    put({0x10, 0x20, 0x30, 0, 0xA0, 0xB0, 0xC0, 0}); // two colours, BGRX
    put({4, 1, 0, 0, 0, 3, 1, 0, 1, 0, 0, 2, 0, 0, 0, 1});
    const auto picture = tk::DecodeBmp(bmp.data(), bmp.size());
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 1), 0xA0B0C0u); // bottom row, colour 1
    EXPECT_EQ(picture->Pixel(2, 1), 0xA0B0C0u);
    EXPECT_EQ(picture->Pixel(0, 0), 0xA0B0C0u); // top row: colour 1, 0, 1
    EXPECT_EQ(picture->Pixel(1, 0), 0x102030u);
    EXPECT_EQ(picture->Pixel(2, 0), 0xA0B0C0u);
    for (std::size_t size = 0; size < bmp.size(); ++size) {
        const std::vector<std::uint8_t> cut(bmp.begin(), bmp.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(tk::DecodeBmp(cut.data(), cut.size()).has_value()) << size << " bytes";
    }
    bmp[bmp.size() - 8] = 7; // an index past the two colours
    EXPECT_FALSE(tk::DecodeBmp(bmp.data(), bmp.size()).has_value());
}

// At every scale the outline, scaled as a region, covers exactly the skin's
// pixels that are not the key colour once the skin is scaled too: the shape
// follows the picture edge to edge inside the window.
TEST(ScaledSkin, OutlineAndPictureKeepTheSameEdges)
{
    std::ifstream in(ZV_SKIN_BMP, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto skin = tk::DecodeBmp(file.data(), file.size());
    ASSERT_TRUE(skin.has_value());
    const Rects outline = BandedRectangles(500, 300, [&](int x, int y) { return skin->Pixel(x, y) != kSkinKeyColour; });
    for (int dpi : {120, 144, 168, 192}) {
        SCOPED_TRACE(dpi);
        const tk::Scale s(dpi);
        const tk::Picture picture = tk::ScalePicture(*skin, s, kSkinKeyColour);
        const int width = s(475), height = s(265);
        ASSERT_GE(picture.Width, width);
        std::vector<bool> inside(static_cast<std::size_t>(width * height));
        const Rects scaled = ScaleRegionRects(outline, s);
        ExpectBanded(scaled);
        for (const TRegionRect& r : scaled)
            for (int y = r.top; y < std::min(r.bottom, height); ++y)
                for (int x = r.left; x < std::min(r.right, width); ++x)
                    inside[static_cast<std::size_t>(y * width + x)] = true;
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                wrong += inside[static_cast<std::size_t>(y * width + x)] != (picture.Pixel(x, y) != kSkinKeyColour);
        EXPECT_EQ(wrong, 0);
    }
}
