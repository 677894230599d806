# The Windows products: a zip that works unpacked in its own folder (CPack's ZIP
# generator) and a per-user installer made by Debian's makensis from
# packaging/windows/quorlin.nsi. Both hold the same installed tree:
#   cpack --config build/windows/CPackConfig.cmake           # quorlin-<version>-windows-x64.zip
#   cmake --build build/windows --target windows_installer   # quorlin-<version>-windows-x64-setup.exe
# Included by the Windows build after the programs' targets are defined; a program
# whose target does not exist is left out (tools/ci/65-windows-package.sh says so).

get_filename_component(quorlin_top ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(QUORLIN_WINDOWS_PROGRAMS quorlin quorlin-demo quorlinctl)
set(QUORLIN_WINDOWS_PACKAGE quorlin-${PROJECT_VERSION}-windows-x64)
set(QUORLIN_VERSION ${PROJECT_VERSION})

# One install component holds the products' files, so that other install rules of the
# build (none are meant for Windows) never slip into them.
set(QUORLIN_PACKAGE_COMPONENT windows_package)
set(QUORLIN_PACKAGED_PROGRAMS)
foreach(program ${QUORLIN_WINDOWS_PROGRAMS})
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION . COMPONENT ${QUORLIN_PACKAGE_COMPONENT})
    list(APPEND QUORLIN_PACKAGED_PROGRAMS ${program})
  endif()
endforeach()

configure_file(${quorlin_top}/packaging/windows/README.txt ${CMAKE_CURRENT_BINARY_DIR}/package/README.txt @ONLY NEWLINE_STYLE CRLF)
# The licence travels with every copy, as it asks.
configure_file(${quorlin_top}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/package/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${quorlin_top}/resources/Language.ini ${quorlin_top}/resources/red.she ${CMAKE_CURRENT_BINARY_DIR}/package/README.txt
  ${CMAKE_CURRENT_BINARY_DIR}/package/LICENSE.txt
  DESTINATION . COMPONENT ${QUORLIN_PACKAGE_COMPONENT})

# Stripping rewrites a program's time stamp with the current time unless
# SOURCE_DATE_EPOCH names one: with it, the zip and the installer carry the same bytes.
set(QUORLIN_BUILD_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(NOT QUORLIN_BUILD_EPOCH)
  string(TIMESTAMP QUORLIN_BUILD_EPOCH "%s" UTC)
endif()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/package/CPackProjectConfig.cmake
  "set(ENV{SOURCE_DATE_EPOCH} ${QUORLIN_BUILD_EPOCH})\n")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quorlin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorlin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "setting tool for the Quorlin Sivane USB light")
set(CPACK_PACKAGE_FILE_NAME ${QUORLIN_WINDOWS_PACKAGE})
# Unpacked, the zip makes a folder of its own.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_CURRENT_BINARY_DIR};${PROJECT_NAME};${QUORLIN_PACKAGE_COMPONENT};/")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/package/CPackProjectConfig.cmake)
include(CPack)

# makensis wants four numbers for the version resource.
string(REGEX MATCHALL "[0-9]+" version_parts "${PROJECT_VERSION}.0.0.0")
list(SUBLIST version_parts 0 4 version_parts)
list(JOIN version_parts "." QUORLIN_VERSION_QUAD)

find_program(QUORLIN_MAKENSIS makensis)
if(QUORLIN_MAKENSIS)
  set(stage ${CMAKE_CURRENT_BINARY_DIR}/installer-stage)
  set(installer ${CMAKE_CURRENT_BINARY_DIR}/${QUORLIN_WINDOWS_PACKAGE}-setup.exe)
  add_custom_target(windows_installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUORLIN_BUILD_EPOCH}
            ${CMAKE_COMMAND} --install ${CMAKE_CURRENT_BINARY_DIR} --prefix ${stage}
            --component ${QUORLIN_PACKAGE_COMPONENT} --strip
    COMMAND ${QUORLIN_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DVERSION_QUAD=${QUORLIN_VERSION_QUAD}
            -DSTAGE=${stage} -DOUTFILE=${installer} ${quorlin_top}/packaging/windows/quorlin.nsi
    BYPRODUCTS ${installer}
    COMMENT "Building ${QUORLIN_WINDOWS_PACKAGE}-setup.exe"
    VERBATIM)
  if(QUORLIN_PACKAGED_PROGRAMS)
    add_dependencies(windows_installer ${QUORLIN_PACKAGED_PROGRAMS})
  endif()
endif()
