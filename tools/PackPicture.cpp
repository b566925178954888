// PackPicture: the build-time tool that turns a 24-bit BMP into our packed
// form (tk::PackPicture), for artwork whose runs of one colour a BMP cannot
// hold in few bytes. It checks that the payload unpacks to the same pixels.
//   PackPicture IN.bmp OUT.zvr     prints the sizes before and after
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "toolkit/Picture.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: PackPicture IN.bmp OUT.zvr\n");
        return 64;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
    if (!out) {
        std::fprintf(stderr, "PackPicture: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("PackPicture: %s, %d x %d, %zu bytes packed from %zu\n", argv[1], picture->Width, picture->Height,
                packed.size(), file.size());
    return 0;
}
