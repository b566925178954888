#include "toolkit/ModuleTitle.h"

#include "text/AsciiCase.h"

namespace tk {

void AsciiLowerCase(char* text, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        text[i] = txt::LowerAscii(text[i]);
}

std::string TitleFromModulePath(std::string_view path, LowerCaseFn lower)
{
    // Both separators: Windows accepts either in a module path.
    std::size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    std::string title(name);
    if (title.size() > 1)
        lower(title.data() + 1, title.size() - 1);
    return title;
}

} // namespace tk
