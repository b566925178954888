# cmake -DINPUT=file -DOUTPUT=header -DNAME=identifier -P EmbedBinary.cmake
# Writes the bytes of INPUT as a C++ array, so the picture needs no resource script.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n#pragma once\n#include <cstdint>\n"
  "inline constexpr std::uint8_t ${NAME}[] = {\n${bytes}\n};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
