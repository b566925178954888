// GraphicQuery: how another process (the test driver) reads a windowless
// control, which has no window of its own to ask. It sends the registered
// message kGraphicQueryMessage to the window the control is drawn on, with
// wParam = sizeof(GraphicQuery) and lParam = the address, inside the
// program's process, of a record whose `name` it has filled in; the window
// answers 1 and fills in the rest, or 0 if it has no such control. Read-only.
// Portable: the record is plain fixed-size data, the same in both programs.
#pragma once

#include <cstdint>
#include <string>

namespace tk {

inline constexpr const char* kGraphicQueryMessage = "tk.QueryGraphic";

struct GraphicQuery {
    char name[64];
    std::int32_t left, top, width, height; // in the window's client coordinates
    std::int32_t visible, enabled;
    char text[1024]; // the control's caption, cut to fit
};

// Fills in the answer; the text is cut to fit and always ends in a NUL.
void FillGraphicQuery(GraphicQuery& query, int left, int top, int width, int height, bool visible, bool enabled,
                      const std::string& text);

} // namespace tk
