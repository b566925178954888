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

Dib DibOf(const Picture& picture)
{
    Dib dib;
    BITMAPINFOHEADER& h = dib.Info.bmiHeader;
    h.biSize = sizeof h;
    h.biWidth = picture.Width;
    h.biHeight = -picture.Height; // top row first, as Picture holds them
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    if (picture.Empty())
        return dib;
    const std::size_t row = static_cast<std::size_t>(picture.Width) * 3;
    const std::size_t stride = (row + 3) & ~static_cast<std::size_t>(3);
    dib.Bits.resize(stride * static_cast<std::size_t>(picture.Height));
    for (std::size_t y = 0; y < static_cast<std::size_t>(picture.Height); ++y)
        std::memcpy(dib.Bits.data() + stride * y, picture.Bgr.data() + row * y, row);
    return dib;
}

Bitmap BitmapOf(const Picture& picture)
{
    if (picture.Empty())
        return Bitmap();
    const Dib dib = DibOf(picture);
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &dib.Info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return bitmap;
    std::memcpy(bits, dib.Bits.data(), dib.Bits.size());
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
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const DWORD size = SizeofResource(module, found);
    auto picture = UnpackPicture(bytes, size);
    if (!picture)
        picture = DecodeBmp(bytes, size);
    if (!picture)
        return Bitmap();
    if (key == kLowerLeftKey)
        key = picture->Height > 0 ? std::optional(picture->Pixel(0, picture->Height - 1)) : std::nullopt;
    return BitmapOf(ScalePicture(*picture, scale, key));
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

Image::Image(Component* owner, CustomControl* parent, Rect bounds) : GraphicControl(owner, parent, bounds)
{
    SetRole(AccessibleRole::Graphic);
}

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
