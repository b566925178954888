#include "app/RegionData.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kHeaderSize = 32;
constexpr std::uint32_t kRectangles = 1; // RDH_RECTANGLES
constexpr std::size_t kRectSize = 16;

struct Run {
    int left, right;
    bool operator==(const Run&) const = default;
};

std::vector<Run> RowRuns(int width, int y, const std::function<bool(int, int)>& inside)
{
    std::vector<Run> runs;
    for (int x = 0; x < width;) {
        if (!inside(x, y)) {
            ++x;
            continue;
        }
        int start = x;
        while (x < width && inside(x, y))
            ++x;
        runs.push_back({start, x == width ? x + 1 : x});
    }
    return runs;
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutRect(std::vector<std::uint8_t>& out, const TRegionRect& r)
{
    for (std::int32_t v : {r.left, r.top, r.right, r.bottom})
        PutLe32(out, static_cast<std::uint32_t>(v));
}

std::uint32_t Le32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

std::vector<TRegionRect> BandedRectangles(int width, int height, const std::function<bool(int x, int y)>& inside)
{
    std::vector<TRegionRect> rects;
    std::vector<Run> band;
    int bandTop = 0;
    auto closeBand = [&](int bottom) {
        for (const Run& r : band)
            rects.push_back({r.left, bandTop, r.right, bottom});
    };
    for (int y = 0; y < height; ++y) {
        std::vector<Run> runs = RowRuns(width, y, inside);
        if (runs == band && !band.empty())
            continue;
        closeBand(y);
        band = std::move(runs);
        bandTop = y;
    }
    closeBand(height);
    return rects;
}

int BandCount(const std::vector<TRegionRect>& rects)
{
    int bands = 0;
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (i == 0 || rects[i].top != rects[i - 1].top)
            ++bands;
    return bands;
}

std::vector<std::uint8_t> EncodeRegionData(const std::vector<TRegionRect>& rects)
{
    TRegionRect bound{};
    if (!rects.empty()) {
        bound = rects.front();
        for (const TRegionRect& r : rects) {
            bound.left = std::min(bound.left, r.left);
            bound.top = std::min(bound.top, r.top);
            bound.right = std::max(bound.right, r.right);
            bound.bottom = std::max(bound.bottom, r.bottom);
        }
    }
    std::vector<std::uint8_t> out;
    PutLe32(out, kHeaderSize);
    PutLe32(out, kRectangles);
    PutLe32(out, static_cast<std::uint32_t>(rects.size()));
    PutLe32(out, static_cast<std::uint32_t>(rects.size() * kRectSize));
    PutRect(out, bound);
    for (const TRegionRect& r : rects)
        PutRect(out, r);
    return out;
}

std::optional<std::vector<TRegionRect>> DecodeRegionData(const std::vector<std::uint8_t>& data)
{
    if (data.size() < kHeaderSize)
        return std::nullopt;
    const std::uint8_t* p = data.data();
    const std::uint32_t count = Le32(p + 8);
    if (Le32(p) != kHeaderSize || Le32(p + 4) != kRectangles ||
        count > (data.size() - kHeaderSize) / kRectSize || data.size() != kHeaderSize + count * kRectSize)
        return std::nullopt;
    std::vector<TRegionRect> rects(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* r = p + kHeaderSize + i * kRectSize;
        rects[i] = {static_cast<std::int32_t>(Le32(r)), static_cast<std::int32_t>(Le32(r + 4)),
                    static_cast<std::int32_t>(Le32(r + 8)), static_cast<std::int32_t>(Le32(r + 12))};
    }
    return rects;
}

std::vector<TRegionRect> ScaleRegionRects(const std::vector<TRegionRect>& rects, const tk::Scale& scale)
{
    std::vector<TRegionRect> scaled;
    scaled.reserve(rects.size());
    for (const TRegionRect& r : rects) {
        const TRegionRect s{scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
        if (s.left < s.right && s.top < s.bottom)
            scaled.push_back(s);
    }
    return scaled;
}

std::size_t TByteStream::Read(void* to, std::size_t size)
{
    const std::size_t n = std::min(size, bytes_.size() - position_);
    if (n)
        std::memcpy(to, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

void TByteStream::Write(const void* from, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(from);
    if (bytes_.size() < position_ + size)
        bytes_.resize(position_ + size);
    std::copy(p, p + size, bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
    position_ += size;
}

std::vector<std::uint8_t> ReadMask2(TByteStream& stream)
{
    std::uint8_t count[4];
    if (stream.Read(count, 4) != 4)
        return {};
    const std::uint32_t n = Le32(count);
    std::vector<std::uint8_t> data(std::min<std::size_t>(n, stream.Bytes().size() - stream.Position()));
    if (stream.Read(data.data(), data.size()) != n)
        return {};
    return data;
}

void WriteMask2(TByteStream& stream, const std::vector<std::uint8_t>& regionData)
{
    std::vector<std::uint8_t> count;
    PutLe32(count, static_cast<std::uint32_t>(regionData.size()));
    stream.Write(count.data(), count.size());
    stream.Write(regionData.data(), regionData.size());
}
