// SkinMask: the build-time tool that turns the skin picture into the
// window's outline. Every pixel not in the key colour (red 51, green 255,
// blue 0) is inside; the rectangles are banded as Windows reports a region
// and written as the "Mask2" payload (count, then RGNDATA).
//   SkinMask SKIN.bmp OUT.bin     prints the rectangle and band counts
#include <cstdio>
#include <vector>

#include "app/RegionData.h"
#include "toolkit/Picture.h"
#include "tools/ToolFiles.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: SkinMask SKIN.bmp OUT.bin\n");
        return 64;
    }
    const std::vector<std::uint8_t> file = ReadFileBytes(argv[1]);
    const auto skin = tk::DecodeBmp(file.data(), file.size());
    if (!skin) {
        std::fprintf(stderr, "SkinMask: %s is not a picture we can read\n", argv[1]);
        return 1;
    }
    const auto rects = BandedRectangles(skin->Width, skin->Height,
                                        [&](int x, int y) { return skin->Pixel(x, y) != kSkinKeyColour; });
    TByteStream payload;
    WriteMask2(payload, EncodeRegionData(rects));
    if (!WriteFileBytes(argv[2], payload.Bytes())) {
        std::fprintf(stderr, "SkinMask: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("SkinMask: %zu rectangles in %d bands, %zu bytes\n", rects.size(), BandCount(rects),
                payload.Bytes().size());
    return 0;
}
