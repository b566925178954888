#include "version/VersionText.h"

#include <cstdio>

std::string FormatVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t release,
                          std::uint16_t build)
{
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) +
           "." + std::to_string(build);
}

std::string StringTablePath(std::uint32_t translation)
{
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", static_cast<unsigned>(translation & 0xFFFFu),
                  static_cast<unsigned>(translation >> 16));
    return std::string("\\StringFileInfo\\") + key;
}
