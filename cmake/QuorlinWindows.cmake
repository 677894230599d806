# The Windows build (cmake/mingw-w64.cmake): hidapi's own Windows backend, GoogleTest
# built with the cross compiler, and every test run under Wine in the build tree's
# own prefix. No Qt, no udev, no Linux services.
enable_language(C)
set(CMAKE_AUTOMOC OFF)
set(CMAKE_AUTORCC OFF)

include(${CMAKE_CURRENT_LIST_DIR}/QuorlinWindowsHidapi.cmake)
# The core sees hidapi's header only (its record type); the backend links it.
set(QUORLIN_HIDAPI_INCLUDE_DIRS ${QUORLIN_HIDAPI_TREE})
set(QUORLIN_HIDAPI_LIBRARY hidapi_windows)

if(QUORLIN_TESTS)
  enable_testing()
  include(${CMAKE_CURRENT_LIST_DIR}/QuorlinWindowsGTest.cmake)
  # The build tree's Wine server is started before the first test and stopped after
  # the last (tools/wine/prefix.sh); every registered suite requires it.
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME wine.up COMMAND ${QUORLIN_WINE_TOOLS}/prefix.sh up ${QUORLIN_WINEPREFIX})
    add_test(NAME wine.down COMMAND ${QUORLIN_WINE_TOOLS}/prefix.sh down ${QUORLIN_WINEPREFIX})
    set_tests_properties(wine.up PROPERTIES FIXTURES_SETUP wine)
    set_tests_properties(wine.down PROPERTIES FIXTURES_CLEANUP wine)
    set(QUORLIN_TEST_FIXTURES wine)
  endif()
endif()
