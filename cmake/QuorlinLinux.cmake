# The Linux build: hidapi's hidraw flavour, libudev, Qt 6 Widgets for the window.
find_package(PkgConfig REQUIRED)
pkg_check_modules(HIDAPI REQUIRED IMPORTED_TARGET hidapi-hidraw)
pkg_check_modules(UDEV REQUIRED IMPORTED_TARGET libudev)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Test)

# The core sees hidapi's header only (its record type); the backend links it.
set(QUORLIN_HIDAPI_INCLUDE_DIRS ${HIDAPI_INCLUDE_DIRS})
set(QUORLIN_HIDAPI_LIBRARY PkgConfig::HIDAPI)
include(${CMAKE_CURRENT_LIST_DIR}/QuorlinManPage.cmake)
