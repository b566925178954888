// DriverProtocol: how a test driver in another process reads the program's
// windows; any driver follows what is written here. Nothing of it costs the
// program anything until a driver asks. Read-only: the program never writes
// where the asker points. Portable: plain constants and fixed-size records,
// the same in both programs.
//
// Control names. Register the message kNameQueryMessage and send it to the
// top-level window that holds the window asked about, wParam that window.
// The result is a global atom holding the control's name, or 0 for a window
// without one (or not ours). The asker reads the name with GlobalGetAtomName
// and then deletes the atom with GlobalDeleteAtom.
//
// Windowless controls, which have no window of their own to ask. Send
// WM_COPYDATA to the window the control is drawn on: wParam the asker's own
// window, dwData kGraphicQueryTag, the data the control's name (its
// characters, no NUL). The window sends the answer back the same way, a
// GraphicQuery record with the same tag, and returns 1; it returns 0 if it
// has no such control.
//
// The program's test build also fails on request (toolkit/TestHooks.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tk {

inline constexpr const char* kNameQueryMessage = "tk.NameQuery";

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
