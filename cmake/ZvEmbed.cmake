# zv_embed_binary(HEADER header INPUT file NAME identifier [COMMENT text])
# Turns a file's bytes into a header holding them as a C++ array, at build
# time, so a picture or a region needs no resource script.
include_guard(GLOBAL)

set(ZV_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedBinary.cmake)

function(zv_embed_binary)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "HEADER;INPUT;NAME;COMMENT" "")
  add_custom_command(OUTPUT ${arg_HEADER}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${arg_INPUT} -DOUTPUT=${arg_HEADER} -DNAME=${arg_NAME} -P ${ZV_EMBED_SCRIPT}
    DEPENDS ${arg_INPUT} ${ZV_EMBED_SCRIPT}
    COMMENT "${arg_COMMENT}")
endfunction()
