# Test helpers shared by every folder.
#
#   zv_add_native_test(name SOURCES ... [LIBS ...])    host tree only
#   zv_add_wine_test(name SOURCES ... [LIBS ...] [GUI] [OWN_PREFIX] [RESOURCE_LOCK r] [TIMEOUT s])
#                                                      cross tree only, runs under Wine
#   zv_add_portable_test(name SOURCES ... [LIBS ...])  both trees
#   zv_add_fuzzer(name SOURCES ... CORPUS dir [SECONDS s])
#                                                      host tree, built with clang
#
#   zv_add_runtime_test(NAME name COMMAND ... [HOST] [TIMEOUT s] [SKIP_RETURN_CODE c]
#                       [FIXTURES_REQUIRED ...] [FIXTURES_SETUP f] [FIXTURES_CLEANUP f]
#                       [RESOURCE_LOCK ...])          cross tree only, once per runtime
#
# Every test gets GoogleTest with its main(). Cross tests share the Wine prefix
# and Xvfb display that the "wine" fixture prepares for this build tree.
#
# Every Wine test runs under two runtimes, with the same binaries: the host's
# Wine 8 (names wine.* and lab.*, label wine8) and Debian 13's Wine 10 in the
# chroot of tools/wine10-root.sh (names wine10.*, label wine10). Each runtime
# has its own prefixes, display, lab and written files (tools/wine-env.sh);
# a fixture or lock of the second is the first's name with "10" added, but
# for "lab": a raw socket sees all ICMP of its namespace, so tests that ping
# take turns across both runtimes.
include_guard(GLOBAL)
enable_testing()
include(GoogleTest)

set(ZV_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest package)")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZV_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

set(ZV_TOOLS_DIR ${CMAKE_SOURCE_DIR}/tools)

# The second runtime's twin of each test: its name, its command run inside
# the chroot (unless HOST: the script enters the chroot where Wine is needed)
# and its fixtures and locks.
function(zv_add_runtime_test)
  cmake_parse_arguments(ARG "HOST" "NAME;TIMEOUT;SKIP_RETURN_CODE;FIXTURES_SETUP;FIXTURES_CLEANUP"
                        "COMMAND;FIXTURES_REQUIRED;RESOURCE_LOCK" ${ARGN})
  string(REGEX REPLACE "^wine\\." "" twin ${ARG_NAME})
  set(twin wine10.${twin})
  set(command10 ${ZV_TOOLS_DIR}/wine10-root.sh run ${ARG_COMMAND})
  if(ARG_HOST)
    set(command10 ${ARG_COMMAND})
  endif()
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
  add_test(NAME ${twin} COMMAND ${command10})
  set_tests_properties(${ARG_NAME} PROPERTIES LABELS wine8
    ENVIRONMENT "ZV_BUILD_DIR=${CMAKE_BINARY_DIR};ZV_RUNTIME=wine8")
  set_tests_properties(${twin} PROPERTIES LABELS wine10
    ENVIRONMENT "ZV_BUILD_DIR=${CMAKE_BINARY_DIR};ZV_RUNTIME=wine10")
  foreach(p TIMEOUT SKIP_RETURN_CODE)
    if(DEFINED ARG_${p})
      set_tests_properties(${ARG_NAME} ${twin} PROPERTIES ${p} ${ARG_${p}})
    endif()
  endforeach()
  foreach(p FIXTURES_REQUIRED FIXTURES_SETUP FIXTURES_CLEANUP RESOURCE_LOCK)
    if(NOT ARG_${p})
      continue()
    endif()
    set(names10)
    foreach(n IN LISTS ARG_${p})
      if(p STREQUAL "RESOURCE_LOCK" AND n STREQUAL "lab")
        list(APPEND names10 lab)
      else()
        list(APPEND names10 ${n}10)
      endif()
    endforeach()
    set_tests_properties(${ARG_NAME} PROPERTIES ${p} "${ARG_${p}}")
    set_tests_properties(${twin} PROPERTIES ${p} "${names10}")
  endforeach()
endfunction()

if(WIN32)
  # HOST: the fixture mounts the second runtime's chroot for the whole run.
  zv_add_runtime_test(NAME wine.setup HOST COMMAND ${ZV_TOOLS_DIR}/wine-fixture.sh setup ${CMAKE_BINARY_DIR}
                      FIXTURES_SETUP wine TIMEOUT 180)
  zv_add_runtime_test(NAME wine.cleanup HOST COMMAND ${ZV_TOOLS_DIR}/wine-fixture.sh cleanup ${CMAKE_BINARY_DIR}
                      FIXTURES_CLEANUP wine TIMEOUT 60)
endif()

function(_zv_test_target name)
  cmake_parse_arguments(ARG "GUI;OWN_PREFIX" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

function(zv_add_native_test name)
  if(WIN32)
    return()
  endif()
  _zv_test_target(${name} ${ARGN})
  gtest_discover_tests(${name} TEST_PREFIX "native.${name}." DISCOVERY_TIMEOUT 60)
endfunction()

function(zv_add_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "GUI;OWN_PREFIX" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  _zv_test_target(${name} ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(ARG_OWN_PREFIX)
    # A virtual desktop leaves the prefix's shell changed for the programs
    # after it (a system tray window, and a skinned window no longer shown
    # on the X display): such a test runs in a 96-dpi prefix of its own,
    # whose wineserver stops with it.
    set(command ${ZV_TOOLS_DIR}/wine-dpi-run.sh 96 $<TARGET_FILE:${name}>)
  else()
    set(command ${ZV_TOOLS_DIR}/wine-run.sh $<TARGET_FILE:${name}>)
  endif()
  zv_add_runtime_test(NAME wine.${name} COMMAND ${command}
    FIXTURES_REQUIRED wine TIMEOUT ${ARG_TIMEOUT} RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
endfunction()

function(zv_add_portable_test name)
  if(WIN32)
    zv_add_wine_test(${name} ${ARGN})
  else()
    zv_add_native_test(${name} ${ARGN})
  endif()
endfunction()

# libFuzzer needs clang; the host tree is built with g++, so the fuzzer is
# compiled by a custom command of its own and run for a bounded time.
find_program(ZV_CLANGXX NAMES clang++ clang++-14)
function(zv_add_fuzzer name)
  if(WIN32 OR NOT ZV_CLANGXX)
    return()
  endif()
  cmake_parse_arguments(ARG "" "CORPUS;SECONDS" "SOURCES" ${ARGN})
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 20)
  endif()
  set(srcs)
  foreach(s IN LISTS ARG_SOURCES)
    get_filename_component(abs ${s} ABSOLUTE)
    list(APPEND srcs ${abs})
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
  add_custom_command(OUTPUT ${out}
    COMMAND ${ZV_CLANGXX} -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined
            -fno-sanitize-recover=undefined -I${CMAKE_SOURCE_DIR} ${srcs} -o ${out}
    DEPENDS ${srcs}
    COMMENT "Building fuzzer ${name}")
  add_custom_target(${name}_build ALL DEPENDS ${out})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
  add_test(NAME native.fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            ${ZV_TOOLS_DIR}/run-fuzzer.sh ${out} ${ARG_CORPUS} ${work} ${ARG_SECONDS})
  set_tests_properties(native.fuzz.${name} PROPERTIES TIMEOUT 300)
endfunction()
