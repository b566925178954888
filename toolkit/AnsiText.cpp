#include "toolkit/AnsiText.h"

#include <windows.h>

namespace tk {

std::wstring WideFromAnsi(std::string_view text)
{
    if (text.empty())
        return std::wstring();
    std::wstring wide(text.size(), L'\0');
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return wide;
}

static std::string NarrowFromWide(std::wstring_view wide, UINT codePage)
{
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    std::string text(static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    return text;
}

std::string Utf8FromAnsi(std::string_view text)
{
    return NarrowFromWide(WideFromAnsi(text), CP_UTF8);
}

std::string AnsiFromWide(std::wstring_view text)
{
    return NarrowFromWide(text, CP_ACP);
}

} // namespace tk
