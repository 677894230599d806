# hidapi 0.13.1's own Windows backend, compiled from Debian's source package
# (tools/wine/fetch-hidapi.sh fetches it once into the build tree; nothing of it is
# kept in the project). Another unpacked tree can be named with QUORLIN_HIDAPI_SOURCE.
set(QUORLIN_HIDAPI_SOURCE "" CACHE PATH "An unpacked hidapi 0.13.1 source tree (empty: fetch Debian's)")

if(QUORLIN_HIDAPI_SOURCE)
  set(QUORLIN_HIDAPI_TREE ${QUORLIN_HIDAPI_SOURCE})
else()
  execute_process(
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tools/wine/fetch-hidapi.sh ${CMAKE_BINARY_DIR}/hidapi
    OUTPUT_VARIABLE QUORLIN_HIDAPI_TREE
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "hidapi's source package could not be fetched (tools/wine/fetch-hidapi.sh)")
  endif()
endif()
if(NOT EXISTS ${QUORLIN_HIDAPI_TREE}/windows/hid.c OR NOT EXISTS ${QUORLIN_HIDAPI_TREE}/hidapi/hidapi.h)
  message(FATAL_ERROR "no hidapi source tree at '${QUORLIN_HIDAPI_TREE}'")
endif()

add_library(hidapi_windows STATIC ${QUORLIN_HIDAPI_TREE}/windows/hid.c)
# <hidapi/hidapi.h>, as the Linux build finds it.
target_include_directories(hidapi_windows PUBLIC ${QUORLIN_HIDAPI_TREE})
target_include_directories(hidapi_windows PRIVATE ${QUORLIN_HIDAPI_TREE}/hidapi)
# hid.dll and cfgmgr32.dll are loaded when hid_init runs, so the program starts (and
# says why it finds no light) even where they are missing.
target_link_libraries(hidapi_windows PUBLIC setupapi)
