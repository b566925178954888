# The hermetic network lab for tests that ping (tools/lab/, addresses in
# tests/lab/LabAddresses.h). Include this file, then:
#
#   zv_add_lab_test(name SOURCES ... [LIBS ...] [TIMEOUT s] [WINDOWS])
#       cross tree only: a GoogleTest program run under Wine inside the lab's
#       client namespace through tools/lab/lab-wine-run.sh; CTest names lab.<name>
#       and, under the second runtime, wine10.lab.<name> (cmake/ZvTesting.cmake).
#       It requires the fixtures "wine" and "lab" and holds RESOURCE_LOCK "lab".
#       WINDOWS: it shows windows on the shared display, so it also holds "e2e",
#       the lock of the tests that read the screen or send real input.
#
# The fixture "lab" (tests lab.setup and lab.cleanup) builds this tree's lab and
# takes it down. Where the lab cannot be built, lab tests are reported as
# skipped, except with CI=true, where they fail.
include_guard(GLOBAL)

# Read once, by whichever folder includes it first: it sets no variables that
# other folders would need.
set(lab_dir ${CMAKE_SOURCE_DIR}/tools/lab)

if(WIN32)
  # The responder is built by tools/lab/CMakeLists.txt with the host compiler.
  # HOST: the namespaces are made by the host's tools; lab.sh enters the
  # chroot only for the second runtime's wineserver.
  zv_add_runtime_test(NAME lab.setup HOST
    COMMAND ${lab_dir}/lab-fixture.sh setup ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/tools/lab/zvlab-responder
    FIXTURES_SETUP lab FIXTURES_REQUIRED wine RESOURCE_LOCK lab TIMEOUT 120 SKIP_RETURN_CODE 77)
  zv_add_runtime_test(NAME lab.cleanup HOST COMMAND ${lab_dir}/lab-fixture.sh cleanup ${CMAKE_BINARY_DIR}
    FIXTURES_CLEANUP lab FIXTURES_REQUIRED wine RESOURCE_LOCK lab TIMEOUT 60)
endif()

function(zv_add_lab_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "WINDOWS" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(locks lab)
  if(ARG_WINDOWS)
    list(APPEND locks e2e)
  endif()
  _zv_test_target(${name} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS})
  zv_add_runtime_test(NAME lab.${name} COMMAND ${CMAKE_SOURCE_DIR}/tools/lab/lab-wine-run.sh $<TARGET_FILE:${name}>
    FIXTURES_REQUIRED wine lab RESOURCE_LOCK ${locks} TIMEOUT ${ARG_TIMEOUT} SKIP_RETURN_CODE 77)
endfunction()
