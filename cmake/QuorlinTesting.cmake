# One place that turns test sources into a registered CTest suite.
#   quorlin_add_test(NAME <name> GLOBS <patterns under tests/> [EXCLUDE <regex>]
#                    LIBS <targets> [MAIN <source>] [LOCK <resource>])
# Everything matched goes into one test binary; each gtest case becomes one CTest
# test, so a failure names the case.
#
# A cross build lists its cases when ctest starts rather than after linking (the build
# machine needs no emulator to build), and each case requires the fixtures named in
# QUORLIN_TEST_FIXTURES (the Windows build's Wine server). LOCK runs the cases one at
# a time, and never beside another case holding the same resource (a system-wide
# name, say).
if(NOT TARGET GTest::gtest)  # the Windows build brings its own (QuorlinWindowsGTest.cmake)
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

function(quorlin_add_test)
  cmake_parse_arguments(T "" "NAME;MAIN;EXCLUDE;LOCK" "GLOBS;LIBS" ${ARGN})
  set(sources)
  foreach(pattern IN LISTS T_GLOBS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
    list(APPEND sources ${found})
  endforeach()
  if(T_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${T_EXCLUDE}")
  endif()
  add_executable(${T_NAME} ${sources} ${T_MAIN})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(NOT T_MAIN)
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
  endif()
  set(discovery POST_BUILD)
  if(CMAKE_CROSSCOMPILING)
    set(discovery PRE_TEST)
  endif()
  set(fixtures)
  if(QUORLIN_TEST_FIXTURES)
    set(fixtures FIXTURES_REQUIRED "${QUORLIN_TEST_FIXTURES}")
  endif()
  if(T_LOCK)
    list(APPEND fixtures RESOURCE_LOCK ${T_LOCK})
  endif()
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 120
    DISCOVERY_MODE ${discovery}
    PROPERTIES TIMEOUT 120 ${fixtures})
endfunction()
