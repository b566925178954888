#include "toolkit/Handles.h"

#include <vector>

namespace tk {

Font CreateFontPt(const char* face, int points, bool bold, bool underline, int dpi)
{
    if (dpi <= 0) {
        ClientDC screen(nullptr);
        dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    int height = -MulDiv(points, dpi, 72);
    return Font(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            face));
}

HCURSOR SystemCursor(LPCSTR id)
{
    struct Loaded {
        LPCSTR id;
        HCURSOR cursor;
    };
    static std::vector<Loaded> loaded;
    for (const Loaded& l : loaded)
        if (l.id == id)
            return l.cursor;
    HCURSOR cursor = LoadCursorA(nullptr, id);
    if (cursor)
        loaded.push_back({id, cursor});
    return cursor;
}

} // namespace tk
