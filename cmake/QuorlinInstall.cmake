# Installing Quorlin (FHS paths through GNUInstallDirs) and its Debian package.
#   cmake --install build/release --prefix /usr     # or DESTDIR=... for a staging tree
#   cpack --config build/release/CPackConfig.cmake -G DEB
include(GNUInstallDirs)

set(QUORLIN_APP_ID org.quorlin.Quorlin)
set(QUORLIN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/quorlin)

# The program finds its installed defaults relative to itself, so a staged tree
# (DESTDIR) and a package under any prefix work alike.
file(RELATIVE_PATH QUORLIN_DEFAULTS_FROM_BIN
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${QUORLIN_DATA_DIR})
foreach(program quorlin quorlin-demo)
  if(TARGET ${program})
    target_compile_definitions(${program} PRIVATE
      QUORLIN_VERSION="${PROJECT_VERSION}"
      QUORLIN_DEFAULTS_FROM_BIN="${QUORLIN_DEFAULTS_FROM_BIN}")
  endif()
endforeach()

# The icon's PNG sizes are drawn from the one SVG at build time.
find_program(QUORLIN_RSVG_CONVERT rsvg-convert REQUIRED)
set(QUORLIN_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/${QUORLIN_APP_ID}.svg)
set(QUORLIN_ICON_PNGS)
foreach(size 48 128 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/${QUORLIN_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}
    COMMAND ${QUORLIN_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${QUORLIN_ICON_SVG}
    DEPENDS ${QUORLIN_ICON_SVG} VERBATIM)
  list(APPEND QUORLIN_ICON_PNGS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual page and changelog go in gzipped, as Debian wants them (-n: no time stamp).
set(QUORLIN_PACKED)
foreach(source resources/quorlin.1 cmake/deb/changelog)
  get_filename_component(name ${source} NAME)
  set(packed ${CMAKE_CURRENT_BINARY_DIR}/packed/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packed
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/${source} ${packed}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND QUORLIN_PACKED ${packed})
endforeach()
add_custom_target(quorlin_install_files ALL DEPENDS ${QUORLIN_ICON_PNGS} ${QUORLIN_PACKED})

install(TARGETS quorlin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/${QUORLIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${QUORLIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QUORLIN_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/red.she resources/Language.ini DESTINATION ${QUORLIN_DATA_DIR})
# udev reads rules from <prefix>/lib/udev/rules.d only for the prefix /usr.
install(FILES resources/70-quorlin.rules DESTINATION lib/udev/rules.d)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packed/quorlin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES cmake/deb/copyright ${CMAKE_CURRENT_BINARY_DIR}/packed/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorlin)

# The Debian package holds everything installed above and by the tools.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorlin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Quorlin developers <dev@quorlin.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "setting tool for the Quorlin Sivane USB light")
set(CPACK_PACKAGE_DESCRIPTION
  "A desktop window that finds the Quorlin Sivane USB light, follows it
when it is plugged in or pulled out, and sets its brightness, breathing
frequency and mode. Includes quorlinctl for the command line and the
udev rule that lets the user at the seat open the light without root.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorlin.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese texts need a CJK font; a Wayland-only session needs the Qt plugin for it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/cmake/deb/postinst ${PROJECT_SOURCE_DIR}/cmake/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
