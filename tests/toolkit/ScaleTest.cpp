// The one scaling rule from 96-dpi design values to pixels, and the picture
// scaling that follows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>

#include "toolkit/PictureScale.h"
#include "toolkit/Scale.h"

namespace {

TEST(Scale, ControlsThatTouchAtDesignSizeStillTouchAndNeverOverlap)
{
    // Neighbours along a row, as the console's statistics bar and host bar lay them out.
    const tk::Rect row[] = {{8, 8, 94, 13}, {102, 8, 67, 13}, {169, 8, 70, 13}, {239, 8, 43, 13}};
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        SCOPED_TRACE(dpi);
        const tk::Scale s(dpi);
        for (std::size_t i = 1; i < std::size(row); ++i)
            EXPECT_EQ(s(row[i - 1]).Right(), s(row[i]).left);
        for (int v : {-7, -1, 0, 1, 2, 3, 13, 574})
            EXPECT_LE(std::abs(s(v) * 96 - v * dpi), 48) << v << " is rounded to the nearest pixel";
    }
    const tk::Rect r{5, 15, 85, 13};
    EXPECT_EQ(tk::Scale()(r).width, 85);
    EXPECT_EQ(tk::Scale(144)(r).left, 8); // 7.5, rounded half up like every value
    EXPECT_EQ(tk::Scale(120).Line(1), 1);
    EXPECT_EQ(tk::Scale(144).Line(1), 2);
}

tk::Picture Row(std::initializer_list<std::uint32_t> pixels)
{
    tk::Picture p;
    p.Width = static_cast<int>(pixels.size());
    p.Height = 1;
    for (std::uint32_t c : pixels)
        p.Bgr.insert(p.Bgr.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
    return p;
}

TEST(PictureScale, WholeFactorsRepeatPixelsOthersBlendWithoutTheKey)
{
    constexpr std::uint32_t red = 0x0000FF, blue = 0xFF0000, key = 0x00FF33;
    const tk::Picture doubled = tk::ScalePicture(Row({red, blue}), tk::Scale(192));
    ASSERT_EQ(doubled.Width, 4);
    ASSERT_EQ(doubled.Height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(doubled.Pixel(x, y), x < 2 ? red : blue);

    // 150 %: the middle pixel covers half of each source pixel.
    const tk::Picture blended = tk::ScalePicture(Row({red, blue}), tk::Scale(144));
    ASSERT_EQ(blended.Width, 3);
    EXPECT_EQ(blended.Pixel(0, 0), red);
    EXPECT_EQ(blended.Pixel(1, 0), 0x800080u);
    EXPECT_EQ(blended.Pixel(2, 0), blue);

    // The key colour stays exact where it is nearest and bleeds nowhere.
    const tk::Picture keyed = tk::ScalePicture(Row({red, key, blue}), tk::Scale(144), key);
    ASSERT_EQ(keyed.Width, 5);
    const std::uint32_t expected[] = {red, red, key, blue, blue};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(keyed.Pixel(x, 0), expected[x]) << x;
}

} // namespace
