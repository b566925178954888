// PackPicture: the build-time tool that turns a 24-bit BMP into our packed
// form (tk::PackPicture), for artwork whose runs of one colour a BMP cannot
// hold in few bytes. It checks that the payload unpacks to the same pixels.
//   PackPicture IN.bmp OUT.zvr     prints the sizes before and after
#include <cstdio>
#include <vector>

#include "toolkit/Picture.h"
#include "tools/ToolFiles.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: PackPicture IN.bmp OUT.zvr\n");
        return 64;
    }
    const std::vector<std::uint8_t> file = ReadFileBytes(argv[1]);
    const auto picture = tk::DecodeBmp(file.data(), file.size());
    if (!picture || picture->Width > tk::kMaxPackedSide || picture->Height > tk::kMaxPackedSide) {
        std::fprintf(stderr, "PackPicture: %s is not a picture we can pack\n", argv[1]);
        return 1;
    }
    const std::vector<std::uint8_t> packed = tk::PackPicture(*picture);
    const auto unpacked = tk::UnpackPicture(packed.data(), packed.size());
    if (!unpacked || unpacked->Bgr != picture->Bgr) {
        std::fprintf(stderr, "PackPicture: %s does not unpack to the same pixels\n", argv[1]);
        return 1;
    }
    if (!WriteFileBytes(argv[2], packed)) {
        std::fprintf(stderr, "PackPicture: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("PackPicture: %s, %d x %d, %zu bytes packed from %zu\n", argv[1], picture->Width, picture->Height,
                packed.size(), file.size());
    return 0;
}
