// Our packed picture form: a picture comes back pixel for pixel, the About
// artwork included, and a payload cut short or not filling its picture
// exactly is refused without a byte read past its end.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "toolkit/Picture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<tk::Picture> Unpack(const Bytes& bytes)
{
    return tk::UnpackPicture(bytes.data(), bytes.size());
}

// 300 x 3: 20 single pixels, then 580 of one colour (longer than a run, over
// a row's end), then runs of 7 in three colours.
tk::Picture Sample()
{
    tk::Picture p;
    p.Width = 300;
    p.Height = 3;
    for (int i = 0; i < 900; ++i) {
        const int c = i < 20 ? i : i < 600 ? 200 : i / 7 % 3;
        p.Bgr.insert(p.Bgr.end(), {std::uint8_t(c), std::uint8_t(c + 1), std::uint8_t(c * 3)});
    }
    return p;
}

Bytes Header(int width, int height)
{
    return {'Z', 'V', 'R', '1', std::uint8_t(width), std::uint8_t(width >> 8), std::uint8_t(height),
            std::uint8_t(height >> 8)};
}

TEST(PackedPicture, GivesBackEveryPixelWithRunsAcrossRows)
{
    const tk::Picture sample = Sample();
    const Bytes packed = tk::PackPicture(sample);
    EXPECT_EQ(packed.size(), 8u + 4u * (20 + 3 + 44)) << "580 pixels in 3 runs, the rest as drawn";
    const auto unpacked = Unpack(packed);
    ASSERT_TRUE(unpacked.has_value());
    EXPECT_EQ(unpacked->Width, 300);
    EXPECT_EQ(unpacked->Height, 3);
    EXPECT_EQ(unpacked->Bgr, sample.Bgr);

    std::ifstream in(ZV_ABOUT_BMP, std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto about = tk::DecodeBmp(file.data(), file.size());
    ASSERT_TRUE(about.has_value());
    const Bytes aboutPacked = tk::PackPicture(*about);
    EXPECT_LT(aboutPacked.size(), 20000u) << "the reason it is packed";
    const auto aboutUnpacked = Unpack(aboutPacked);
    ASSERT_TRUE(aboutUnpacked.has_value());
    EXPECT_EQ(aboutUnpacked->Width, 425);
    EXPECT_EQ(aboutUnpacked->Height, 160);
    EXPECT_EQ(aboutUnpacked->Bgr, about->Bgr);
}

TEST(PackedPicture, RefusesAPayloadThatDoesNotFillItsPictureExactly)
{
    const Bytes packed = tk::PackPicture(Sample());
    for (std::size_t length = 0; length < packed.size(); ++length) {
        const Bytes cut(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(Unpack(cut).has_value()) << length << " bytes";
    }

    auto with = [](Bytes bytes, std::initializer_list<std::uint8_t> more) {
        bytes.insert(bytes.end(), more);
        return bytes;
    };
    const struct {
        const char* what;
        Bytes payload;
    } refused[] = {
        {"another magic", with({'Z', 'V', 'R', '2', 1, 0, 1, 0}, {0, 1, 2, 3})},
        {"no width", with(Header(0, 1), {0, 1, 2, 3})},
        {"no height", with(Header(1, 0), {0, 1, 2, 3})},
        {"too wide", with(Header(tk::kMaxPackedSide + 1, 1), {0, 1, 2, 3})},
        {"a large picture asked for by a few bytes", with(Header(8000, 8000), {255, 1, 2, 3})},
        {"a run past the last pixel", with(Header(2, 1), {0, 1, 2, 3, 1, 1, 2, 3})},
        {"a run after the last pixel", with(Header(1, 1), {0, 1, 2, 3, 0, 1, 2, 3})},
        {"a part of a run after the last pixel", with(Header(1, 1), {0, 1, 2, 3, 0})},
    };
    for (const auto& c : refused)
        EXPECT_FALSE(Unpack(c.payload).has_value()) << c.what;
    EXPECT_TRUE(Unpack(with(Header(2, 1), {1, 1, 2, 3})).has_value()) << "the shape the cases above break";
}

} // namespace
