// The console window's design measures at 96 dpi, shared by the files that
// lay out its parts. Win32 layer.
#pragma once

#include <windows.h>

namespace console_design {

inline constexpr int kClientWidth = 574;
inline constexpr int kOuterHeight = 403;
inline constexpr int kMinOuterHeight = 400;
inline constexpr int kHostBarHeight = 41;
inline constexpr int kStatisticsBarHeight = 33;
inline constexpr int kStatusBarHeight = 19;
inline constexpr int kAboutPanelHeight = 80;
inline constexpr int kLabelHeight = 13;
inline constexpr int kCheckBoxHeight = 17;
inline constexpr int kFieldHeight = 22;
inline constexpr COLORREF kWhite = RGB(255, 255, 255);

} // namespace console_design
