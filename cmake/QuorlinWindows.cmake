# The Windows build, cross-built with mingw-w64 (cmake/mingw-w64.cmake) and tested
# under Wine: the framework-free core, hidapi's own Windows backend, the simulated
# light and their tests. No Qt, no udev, no Linux services.
set(CMAKE_AUTOMOC OFF)
set(CMAKE_AUTORCC OFF)
enable_language(C)

include(cmake/QuorlinWindowsHidapi.cmake)

# The core's sources that know neither Qt nor Linux. Widen this list as the core
# sheds them; a source listed here that still needs either fails to compile.
set(QUORLIN_WINDOWS_CORE_SOURCES
  src/shell/handle_slot.cpp
  src/shell/language_strings.cpp
  src/shell/whole_data.cpp
  src/link/device_broadcast.cpp
  src/link/device_info_list.cpp
  src/link/device_notifications.cpp
  src/link/hidapi_backend.cpp
  src/link/open_failure_hint.cpp
  src/link/repeat_limiter.cpp
  src/link/settings_reports.cpp
  src/link/system_clock.cpp)
add_library(quorlin_core STATIC ${QUORLIN_WINDOWS_CORE_SOURCES})
target_link_libraries(quorlin_core PUBLIC quorlin_options hidapi_windows)

file(GLOB QUORLIN_SIM_SOURCES CONFIGURE_DEPENDS src/link/sim/*.cpp)
add_library(quorlin_simlight STATIC ${QUORLIN_SIM_SOURCES})
target_link_libraries(quorlin_simlight PUBLIC quorlin_core)

# What hidapi finds through the program's own backend, said in plain words.
add_executable(hidapi_probe tools/wine/hidapi_probe.cpp)
target_link_libraries(hidapi_probe PRIVATE quorlin_core)

if(NOT QUORLIN_TESTS)
  return()
endif()

enable_testing()
include(cmake/QuorlinWindowsGTest.cmake)

# Every test runs in the build tree's Wine prefix, whose server is started before the
# first test and stopped after the last (tools/wine/prefix.sh).
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME wine.up COMMAND ${QUORLIN_WINE_TOOLS}/prefix.sh up ${QUORLIN_WINEPREFIX})
  add_test(NAME wine.down COMMAND ${QUORLIN_WINE_TOOLS}/prefix.sh down ${QUORLIN_WINEPREFIX})
  set_tests_properties(wine.up PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine.down PROPERTIES FIXTURES_CLEANUP wine)
  set(QUORLIN_TEST_FIXTURES wine)
endif()
include(cmake/QuorlinTesting.cmake)

file(GLOB QUORLIN_TEST_SUPPORT CONFIGURE_DEPENDS tests/support/*.cpp)
list(FILTER QUORLIN_TEST_SUPPORT EXCLUDE REGEX "qt_test_main\\.cpp$")
add_library(quorlin_testsupport STATIC ${QUORLIN_TEST_SUPPORT})
target_include_directories(quorlin_testsupport PUBLIC tests)
target_link_libraries(quorlin_testsupport PUBLIC quorlin_simlight GTest::gtest)

# The core's suites that build for Windows today; widen with the source list above.
# hidapi_backend_test.cpp stays Linux's: it asserts hidraw's errno.
quorlin_add_test(NAME core_tests
  GLOBS
    tests/shell/whole_data_test.cpp
    tests/link/device_notifications_test.cpp
    tests/link/repeat_limiter_test.cpp
    tests/link/settings_reports_test.cpp
  LIBS quorlin_core quorlin_testsupport)

# What only the Windows build has: hidapi's Windows backend behind the core's HidApi.
quorlin_add_test(NAME windows_tests
  GLOBS tests/windows/*_test.cpp
  LIBS quorlin_core)

# The runner itself: statuses and output pass through, the prefix carries its settings.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_executable(exit_with tests/windows/exit_with.cpp)
  add_test(NAME windows.runner_passes_status_and_output
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/windows/runner_test.sh
            ${QUORLIN_WINE_TOOLS}/run-test ${QUORLIN_WINEPREFIX} $<TARGET_FILE:exit_with>)
  set_tests_properties(windows.runner_passes_status_and_output PROPERTIES FIXTURES_REQUIRED wine)
endif()

# Statically linked: the programs import system DLLs only.
add_test(NAME windows.imports_only_system_dlls
  COMMAND ${QUORLIN_WINE_TOOLS}/check-imports ${CMAKE_OBJDUMP}
          $<TARGET_FILE:core_tests> $<TARGET_FILE:windows_tests> $<TARGET_FILE:hidapi_probe>)
# The probe answers under Wine whatever hidapi finds (under Wine 8: nothing).
add_test(NAME windows.hidapi_probe_runs COMMAND hidapi_probe)
if(QUORLIN_TEST_FIXTURES)
  set_tests_properties(windows.hidapi_probe_runs PROPERTIES FIXTURES_REQUIRED "${QUORLIN_TEST_FIXTURES}")
endif()
