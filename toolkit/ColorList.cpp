#include "toolkit/ColorList.h"

#include <array>
#include <cstdio>

namespace tk {

namespace {
constexpr std::uint32_t System(std::uint32_t index)
{
    return kSystemColorFlag + index;
}

constexpr std::array<NamedColor, 50> kColors{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", System(10)},
    {"clActiveCaption", System(2)},
    {"clAppWorkSpace", System(12)},
    {"clBackground", System(1)},
    {"clBtnFace", System(15)},
    {"clBtnHighlight", System(20)},
    {"clBtnShadow", System(16)},
    {"clBtnText", System(18)},
    {"clCaptionText", System(9)},
    {"clGradientActiveCaption", System(27)},
    {"clGradientInactiveCaption", System(28)},
    {"clGrayText", System(17)},
    {"clHighlight", System(13)},
    {"clHighlightText", System(14)},
    {"clHotLight", System(26)},
    {"clInactiveBorder", System(11)},
    {"clInactiveCaption", System(3)},
    {"clInactiveCaptionText", System(19)},
    {"clInfoBk", System(24)},
    {"clInfoText", System(23)},
    {"clMenu", System(4)},
    {"clMenuBar", System(30)},
    {"clMenuHighlight", System(29)},
    {"clMenuText", System(7)},
    {"clScrollBar", System(0)},
    {"cl3DDkShadow", System(21)},
    {"cl3DLight", System(22)},
    {"clWindow", System(5)},
    {"clWindowFrame", System(6)},
    {"clWindowText", System(8)},
}};
} // namespace

std::span<const NamedColor> ColorList()
{
    return kColors;
}

std::optional<std::size_t> FindColor(std::uint32_t value)
{
    for (std::size_t i = 0; i < kColors.size(); ++i)
        if (kColors[i].value == value)
            return i;
    return std::nullopt;
}

std::string ColorName(std::uint32_t value)
{
    if (std::optional<std::size_t> index = FindColor(value))
        return kColors[*index].name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(value));
    return text;
}

} // namespace tk
