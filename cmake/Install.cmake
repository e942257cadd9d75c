# Installing Orvalis as a desktop program: the program, its desktop entry,
# icons, AppStream metadata, screenshot and manual page, where the
# freedesktop.org standards and Debian put them. `cmake --install build
# --prefix /usr` (DESTDIR is honoured) installs them; scripts/package builds
# the Debian package from the same rules.
include(GNUInstallDirs)

set(ORVALIS_HOMEPAGE https://orvalis.org)

set(data ${PROJECT_SOURCE_DIR}/data)
configure_file(${data}/${ORVALIS_APP_ID}.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/data/${ORVALIS_APP_ID}.metainfo.xml @ONLY)
configure_file(${data}/orvalis.1.in ${PROJECT_BINARY_DIR}/data/orvalis.1 @ONLY)

install(TARGETS orvalis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${data}/${ORVALIS_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/data/${ORVALIS_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${data}/${ORVALIS_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Rendered from the SVG by scripts/icons.
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${data}/icons/${size}x${size}/${ORVALIS_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# The end-to-end test's screenshot, which the metadata shows.
install(FILES ${PROJECT_SOURCE_DIR}/docs/screenshot.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/orvalis)
install(FILES ${PROJECT_BINARY_DIR}/data/orvalis.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
unset(data)
