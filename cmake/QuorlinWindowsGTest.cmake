# GoogleTest and GoogleMock for the target, built with the cross toolchain from the
# sources Debian's libgtest-dev and libgmock-dev ship. Defines GTest::gtest,
# GTest::gtest_main and GTest::gmock as find_package(GTest) does on Linux.
set(QUORLIN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
if(NOT EXISTS ${QUORLIN_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "no GoogleTest sources at ${QUORLIN_GTEST_SOURCE} (Debian: libgtest-dev, libgmock-dev)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${QUORLIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
