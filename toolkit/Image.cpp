#include "toolkit/Image.h"

#include <cstring>
#include <vector>

namespace tk {

namespace {

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

} // namespace

Bitmap BitmapOf(const Picture& picture)
{
    if (picture.Width <= 0 || picture.Height <= 0)
        return Bitmap();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height; // top row first, as Picture holds them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return bitmap;
    const std::size_t row = static_cast<std::size_t>(picture.Width) * 3;
    const std::size_t stride = (row + 3) & ~static_cast<std::size_t>(3);
    for (int y = 0; y < picture.Height; ++y)
        std::memcpy(static_cast<BYTE*>(bits) + stride * y, picture.Bgr.data() + row * y, row);
    GdiFlush();
    return bitmap;
}

Bitmap LoadPictureResource(const char* name, const Scale& scale, std::optional<std::uint32_t> key)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return Bitmap();
    auto picture = DecodeBmp(static_cast<const std::uint8_t*>(data), SizeofResource(module, found));
    if (!picture)
        return Bitmap();
    if (key == kLowerLeftKey)
        key = picture->Height > 0 ? std::optional(picture->Pixel(0, picture->Height - 1)) : std::nullopt;
    return BitmapOf(ScalePicture(*picture, scale, key));
}

Bitmap ScaleBitmap(Bitmap bitmap, const Scale& scale)
{
    if (scale.IsIdentity() || !bitmap)
        return bitmap;
    const SIZE size = SizeOf(bitmap.Get());
    Picture picture;
    picture.Width = size.cx;
    picture.Height = size.cy;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const std::size_t row = static_cast<std::size_t>(size.cx) * 3;
    const std::size_t stride = (row + 3) & ~static_cast<std::size_t>(3);
    std::vector<BYTE> bits(stride * static_cast<std::size_t>(size.cy));
    ClientDC screen(nullptr);
    if (!GetDIBits(screen.Get(), bitmap.Get(), 0, static_cast<UINT>(size.cy), bits.data(), &info, DIB_RGB_COLORS))
        return bitmap;
    picture.Bgr.resize(row * static_cast<std::size_t>(size.cy));
    for (int y = 0; y < size.cy; ++y)
        std::memcpy(picture.Bgr.data() + row * y, bits.data() + stride * y, row);
    return BitmapOf(ScalePicture(picture, scale));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, bool transparent)
{
    MemoryDC source(CreateCompatibleDC(dc));
    if (!source)
        return;
    SelectScope select(source.Get(), bitmap);
    const SIZE size = SizeOf(bitmap);
    if (transparent)
        TransparentBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, size.cx, size.cy,
                       GetPixel(source.Get(), 0, size.cy - 1));
    else
        BitBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
}

Image::Image(Component* owner, CustomControl* parent, Rect bounds) : GraphicControl(owner, parent, bounds) {}

void Image::SetPicture(Bitmap picture)
{
    picture_ = std::move(picture);
    Invalidate();
    if (OnPictureChange)
        OnPictureChange(this);
}

void Image::SetCenter(bool center)
{
    center_ = center;
    Invalidate();
}

void Image::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

void Image::Paint(HDC dc)
{
    if (!picture_)
        return;
    Rect b = Bounds();
    int x = b.left;
    int y = b.top;
    if (center_) {
        const SIZE size = SizeOf(picture_.Get());
        x += (b.width - size.cx) / 2;
        y += (b.height - size.cy) / 2;
    }
    DrawBitmap(dc, picture_.Get(), x, y, transparent_);
}

} // namespace tk
