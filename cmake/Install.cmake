# Where `cmake --install` puts the program and what a desktop needs to offer
# it: the menu entry, the icon in the hicolor theme, the AppStream metadata
# for software centres, the manual page, and the package's documents.
include(GNUInstallDirs)

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)

# The PNG icons are rendered from the one SVG, so they never drift from it.
set(PRAMEL_ICON_SVG ${CMAKE_SOURCE_DIR}/resources/pramel.svg)
set(PRAMEL_ICON_FILES)
foreach(size 64 128)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/pramel.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${PRAMEL_ICON_SVG}
    DEPENDS ${PRAMEL_ICON_SVG}
    COMMENT "Rendering the ${size} px icon"
    VERBATIM)
  list(APPEND PRAMEL_ICON_FILES ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# gzip -n leaves the name and time out, so the same page makes the same file.
set(PRAMEL_MAN_PAGE ${CMAKE_BINARY_DIR}/pramel.1.gz)
set(PRAMEL_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${PRAMEL_MAN_PAGE}
  COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/pramel.1 > ${PRAMEL_MAN_PAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/pramel.1
  VERBATIM)
add_custom_command(
  OUTPUT ${PRAMEL_CHANGELOG}
  COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${PRAMEL_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(pramel_data_files ALL
  DEPENDS ${PRAMEL_ICON_FILES} ${PRAMEL_MAN_PAGE} ${PRAMEL_CHANGELOG})

install(TARGETS pramel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The modules, where the program looks for them: ../lib/pramel from bin.
install(TARGETS pramel_media pramel_net LIBRARY DESTINATION lib/pramel)
install(FILES resources/pramel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PRAMEL_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/io.github.pramel.Pramel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PRAMEL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${PRAMEL_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pramel)
