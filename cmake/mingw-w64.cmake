# Cross-build for 64-bit Windows with Debian's mingw-w64, tests run under Wine:
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORLIN_WINDOWS ON)

set(QUORLIN_MINGW_TRIPLE x86_64-w64-mingw32)
# The POSIX thread model: the default (win32) one has no std::thread, std::mutex or
# std::condition_variable.
set(CMAKE_C_COMPILER ${QUORLIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORLIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORLIN_MINGW_TRIPLE}-windres)

# Headers, libraries and CMake packages of the target only: the build machine's GTest or
# hidapi must never be picked up.
set(CMAKE_FIND_ROOT_PATH /usr/${QUORLIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C and C++ runtimes and winpthreads: a program imports system DLLs only and
# runs unpacked from any folder.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Cross-built programs (tests, test discovery) run under Wine in the build tree's own
# prefix (tools/wine/run-test).
get_filename_component(QUORLIN_WINE_TOOLS ${CMAKE_CURRENT_LIST_DIR}/../tools/wine ABSOLUTE)
set(QUORLIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORLIN_WINE_TOOLS}/run-test ${QUORLIN_WINEPREFIX})
