#include "toolkit/GraphicQuery.h"

#include <algorithm>
#include <cstring>

namespace tk {

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
