# The core's targets for the Windows build while the core still links Qt on this
# branch: the sources that build without Qt and Linux today, under the names the
# Linux build uses. Where src/ and tests/ define these targets framework-free, this
# file goes and src/ and tests/ take over.
# Widen this list as the core sheds Qt and Linux; a source listed here that still
# needs either fails to compile.
set(QUORLIN_WINDOWS_CORE_SOURCES
  src/shell/handle_slot.cpp
  src/shell/language_strings.cpp
  src/shell/whole_data.cpp
  src/link/device_broadcast.cpp
  src/link/device_info_list.cpp
  src/link/device_notifications.cpp
  src/link/open_failure_hint.cpp
  src/link/repeat_limiter.cpp
  src/link/settings_reports.cpp
  src/link/system_clock.cpp)
add_library(quorlin_core STATIC ${QUORLIN_WINDOWS_CORE_SOURCES})
target_link_libraries(quorlin_core PUBLIC quorlin_options)
target_include_directories(quorlin_core PUBLIC ${QUORLIN_HIDAPI_INCLUDE_DIRS})

# The real HID backend, unchanged, over hidapi's Windows code.
add_library(quorlin_hidapi STATIC src/link/hidapi_backend.cpp)
target_link_libraries(quorlin_hidapi PUBLIC quorlin_core PRIVATE ${QUORLIN_HIDAPI_LIBRARY})

add_library(quorlin_simlight STATIC src/link/sim/demo_light.cpp src/link/sim/simulated_light.cpp)
target_link_libraries(quorlin_simlight PUBLIC quorlin_core)

add_subdirectory(tools/wine)

if(QUORLIN_TESTS)
  include(cmake/QuorlinTesting.cmake)
  add_library(quorlin_testsupport STATIC tests/support/fake_clock.cpp)
  target_include_directories(quorlin_testsupport PUBLIC tests)
  target_link_libraries(quorlin_testsupport PUBLIC quorlin_simlight GTest::gtest)

  # The core's suites that build for Windows today; widen with the list above.
  quorlin_add_test(NAME core_tests
    GLOBS
      tests/shell/whole_data_test.cpp
      tests/link/device_notifications_test.cpp
      tests/link/repeat_limiter_test.cpp
      tests/link/settings_reports_test.cpp
    LIBS quorlin_core quorlin_testsupport)

  add_subdirectory(tests/wine)
endif()
