// GraphicQuery: how another process (the test driver) reads a windowless
// control, which has no window of its own to ask. It sends WM_COPYDATA to the
// window the control is drawn on: wParam its own window, dwData
// kGraphicQueryTag, the data the control's name (its characters, no NUL).
// The window sends the answer back the same way, a GraphicQuery record with
// the same tag, and returns 1; it returns 0 if it has no such control.
// Read-only, and the program never writes where the asker points.
// Portable: the record is plain fixed-size data, the same in both programs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tk {

inline constexpr std::uint32_t kGraphicQueryTag = 0x51476B74; // "tkGQ" in memory

struct GraphicQuery {
    char name[64];
    std::int32_t left, top, width, height; // in the window's client coordinates
    std::int32_t visible, enabled;
    char text[1024]; // the control's caption, cut to fit
};

// The name a request carries, or nothing for an empty one, one too long for
// the answer's `name`, or one with a NUL inside.
std::optional<std::string> GraphicQueryName(const void* data, std::size_t size);

// Fills in the answer; the text is cut to fit and always ends in a NUL.
void FillGraphicQuery(GraphicQuery& query, int left, int top, int width, int height, bool visible, bool enabled,
                      const std::string& text);

} // namespace tk
