// Image: a windowless picture control. Draws its bitmap unscaled at its
// top-left corner, or centred in its bounds; either way clipped to them.
// Transparent: the colour of the picture's lower-left pixel is left out.
// Without a picture it draws nothing (a hot spot). Owns its bitmap.
// GUI thread only.
#pragma once

#include <vector>

#include "toolkit/GraphicControl.h"
#include "toolkit/Handles.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureScale.h"

namespace tk {

// A picture as a top-down 24-bit DIB: its header and its rows, each padded
// to four bytes as DIBs want them (the picture's rows are not padded).
struct Dib {
    BITMAPINFO Info{};
    std::vector<BYTE> Bits;
};
Dib DibOf(const Picture& picture);
// A 24-bit DIB section of the picture; null for an empty picture.
Bitmap BitmapOf(const Picture& picture);
// Stands for the colour of a picture's lower-left pixel, the one DrawBitmap
// leaves out.
constexpr std::uint32_t kLowerLeftKey = 0xFF000000;

// A picture stored as an RCDATA resource of this module (a BMP file, or a
// packed picture: PackPicture), drawn at 96 dpi and scaled (ScalePicture) with `key` left out of the blending;
// null if it is missing or unreadable.
Bitmap LoadPictureResource(const char* name, const Scale& scale = {},
                           std::optional<std::uint32_t> key = std::nullopt);

// Draws a bitmap at x, y, leaving out the colour of its lower-left pixel
// when `transparent`.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, bool transparent);

class Image : public GraphicControl {
public:
    Image(Component* owner, CustomControl* parent, Rect bounds);

    HBITMAP Picture() const { return picture_.Get(); }
    // Takes the bitmap and raises OnPictureChange.
    void SetPicture(Bitmap picture);
    void SetCenter(bool center);
    void SetTransparent(bool transparent);

    void Paint(HDC dc) override;

    // Raised after the picture changed.
    NotifyEvent OnPictureChange;

private:
    Bitmap picture_;
    bool center_ = false;
    bool transparent_ = false;
};

} // namespace tk
