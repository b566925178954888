#include "toolkit/DriverProtocol.h"

#include <algorithm>
#include <cstring>

namespace tk {

std::optional<std::string> GraphicQueryName(const void* data, std::size_t size)
{
    if (!data || size == 0 || size >= sizeof GraphicQuery{}.name)
        return std::nullopt;
    std::string name(static_cast<const char*>(data), size);
    if (name.find('\0') != std::string::npos)
        return std::nullopt;
    return name;
}

void FillGraphicQuery(GraphicQuery& query, int left, int top, int width, int height, bool visible, bool enabled,
                      const std::string& text)
{
    query.left = left;
    query.top = top;
    query.width = width;
    query.height = height;
    query.visible = visible;
    query.enabled = enabled;
    std::size_t length = std::min(text.size(), sizeof query.text - 1);
    std::memcpy(query.text, text.data(), length);
    query.text[length] = '\0';
}

} // namespace tk
