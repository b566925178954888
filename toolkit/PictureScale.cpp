#include "toolkit/PictureScale.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tk {

namespace {

struct Tap {
    int source = 0;
    std::uint32_t weight = 0;
};

// For each result pixel along one axis: the source pixels it covers with
// their share (in 1/96 of a result pixel), taps[first[x]] up to
// taps[first[x + 1]], and the nearest one by the scaled edges.
struct Axis {
    std::vector<Tap> taps;
    std::vector<std::size_t> first;
    std::vector<int> nearest;
};

Axis AxisOf(int size, const Scale& scale)
{
    const int scaled = scale(size);
    const int dpi = scale.Dpi();
    Axis axis;
    axis.nearest.resize(static_cast<std::size_t>(scaled));
    for (int x = 0; x < scaled; ++x) {
        axis.first.push_back(axis.taps.size());
        // In units where a result pixel is 96 wide and a source pixel dpi wide.
        const int low = x * kDesignDpi;
        const int high = low + kDesignDpi;
        for (int i = low / dpi; i < size && i * dpi < high; ++i) {
            const int weight = std::min(high, (i + 1) * dpi) - std::max(low, i * dpi);
            if (weight > 0)
                axis.taps.push_back({i, static_cast<std::uint32_t>(weight)});
        }
    }
    axis.first.push_back(axis.taps.size());
    for (int i = 0; i < size; ++i)
        for (int x = scale(i); x < scale(i + 1); ++x)
            axis.nearest[static_cast<std::size_t>(x)] = i;
    return axis;
}

using Sum = std::array<std::uint32_t, 4>; // blue, green, red, weight

} // namespace

Picture ScalePicture(const Picture& source, const Scale& scale, std::optional<std::uint32_t> key)
{
    if (scale.IsIdentity() || source.Width <= 0 || source.Height <= 0)
        return source;
    const Axis across = AxisOf(source.Width, scale);
    const Axis down = AxisOf(source.Height, scale);
    const int width = static_cast<int>(across.nearest.size());
    const int height = static_cast<int>(down.nearest.size());
    auto at = [&](int x, int y) { return source.Bgr.data() + (static_cast<std::size_t>(y) * source.Width + x) * 3; };

    // Across every source row first, then down.
    std::vector<Sum> rows(static_cast<std::size_t>(width) * static_cast<std::size_t>(source.Height));
    for (int y = 0; y < source.Height; ++y)
        for (int x = 0; x < width; ++x) {
            Sum& sum = rows[static_cast<std::size_t>(y) * width + x];
            sum = {};
            for (std::size_t k = across.first[static_cast<std::size_t>(x)]; k < across.first[static_cast<std::size_t>(x) + 1]; ++k) {
                const Tap& t = across.taps[k];
                if (key && source.Pixel(t.source, y) == *key)
                    continue;
                const std::uint8_t* p = at(t.source, y);
                for (int c = 0; c < 3; ++c)
                    sum[c] += t.weight * p[c];
                sum[3] += t.weight;
            }
        }

    Picture result;
    result.Width = width;
    result.Height = height;
    result.Bgr.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* to = result.Bgr.data() + (static_cast<std::size_t>(y) * width + x) * 3;
            const int nx = across.nearest[static_cast<std::size_t>(x)];
            const int ny = down.nearest[static_cast<std::size_t>(y)];
            Sum sum{};
            for (std::size_t k = down.first[static_cast<std::size_t>(y)]; k < down.first[static_cast<std::size_t>(y) + 1]; ++k) {
                const Tap& t = down.taps[k];
                const Sum& row = rows[static_cast<std::size_t>(t.source) * width + x];
                for (int c = 0; c < 4; ++c)
                    sum[c] += t.weight * row[c];
            }
            if ((key && source.Pixel(nx, ny) == *key) || sum[3] == 0) {
                std::copy(at(nx, ny), at(nx, ny) + 3, to);
                continue;
            }
            for (int c = 0; c < 3; ++c)
                to[c] = static_cast<std::uint8_t>((sum[c] + sum[3] / 2) / sum[3]);
        }
    return result;
}

} // namespace tk
