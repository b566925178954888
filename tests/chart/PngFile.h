// Writes 24-bit pictures as PNG files (stored, uncompressed deflate blocks)
// so rendering tests can leave a picture to look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: width * height * 3 bytes, top row first. Returns false if the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
