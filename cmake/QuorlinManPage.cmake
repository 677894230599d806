include(GNUInstallDirs)

# Installs a manual page gzipped, as Debian wants them (-n: no time stamp, reproducible).
function(quorlin_install_man_page page)
  get_filename_component(name ${page} NAME)
  set(packed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E copy ${page} ${CMAKE_CURRENT_BINARY_DIR}/${name}
    COMMAND gzip -9nf ${CMAKE_CURRENT_BINARY_DIR}/${name}
    DEPENDS ${page} VERBATIM)
  add_custom_target(man_${name} ALL DEPENDS ${packed})
  install(FILES ${packed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
