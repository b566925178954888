// Scaling a picture drawn at 96 dpi to a window's DPI. Pixel i of a row
// covers pixels Scale(i) to Scale(i + 1) of the result, the same edges a
// region or a control scaled with that Scale gets, so an outline stays on the
// picture's edge. Whole factors repeat each pixel (crisp); the others take
// each result pixel as the average of the source area it covers (smooth),
// leaving out the key colour, so no key colour bleeds into the artwork.
// Portable.
#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/Picture.h"
#include "toolkit/Scale.h"

namespace tk {

// `key` (0x00BBGGRR): the colour drawn transparent. A result pixel whose
// nearest source pixel has it keeps it exactly.
Picture ScalePicture(const Picture& source, const Scale& scale, std::optional<std::uint32_t> key = std::nullopt);

} // namespace tk
