// The application title rule: the executable's file name without folder and
// extension, the first character as written and every later one in lower
// case. Portable; the Win32 layer passes the code page's own lower-casing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tk {

using LowerCaseFn = void (*)(char* text, std::size_t length);

void AsciiLowerCase(char* text, std::size_t length);

std::string TitleFromModulePath(std::string_view path, LowerCaseFn lower = AsciiLowerCase);

} // namespace tk
