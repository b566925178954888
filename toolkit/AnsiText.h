// Conversions between the ANSI code page, in which the toolkit's controls
// hold their texts, and UTF-16 or UTF-8 for what leaves the program.
#pragma once

#include <string>
#include <string_view>

namespace tk {

std::wstring WideFromAnsi(std::string_view text);
std::string Utf8FromAnsi(std::string_view text);
// Characters the code page lacks become its default character.
std::string AnsiFromWide(std::wstring_view text);

} // namespace tk
