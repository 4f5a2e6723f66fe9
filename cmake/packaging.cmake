# The Debian package: `cpack -G DEB` in the build tree (or `cmake --build build --target package`).
# Our own layers are static libraries, so the package carries only the two programs and their data;
# Qt, hidapi and the spreadsheet libraries come from the distribution through the dependencies.

install(TARGETS velorin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/image/velorin.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The desktop entry and the AppStream metadata are named after the program's reverse-DNS id, as
# software centres and desktops look them up by it.
set(VELORIN_APP_ID org.example.velorin.Velorin)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${VELORIN_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${VELORIN_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian wants the copyright note and a compressed changelog in the package's documentation folder.
set(VELORIN_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog)
string(TIMESTAMP VELORIN_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${VELORIN_CHANGELOG}
  "velorin (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- Velorin developers <velorin@example.org>  ${VELORIN_PACKAGE_DATE}\n")
find_program(GZIP_EXECUTABLE gzip REQUIRED)
# -n: no name or time stamp in the header, so that the package is reproducible.
execute_process(COMMAND ${GZIP_EXECUTABLE} -9nf ${VELORIN_CHANGELOG})
foreach(page velorin velorin-cli)
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1 ${CMAKE_BINARY_DIR}/packaging/${page}.1
    COPYONLY)
  execute_process(COMMAND ${GZIP_EXECUTABLE} -9nf ${CMAKE_BINARY_DIR}/packaging/${page}.1)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${VELORIN_CHANGELOG}.gz ${PROJECT_SOURCE_DIR}/resources/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velorin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velorin developers")
set(CPACK_PACKAGE_CONTACT "Velorin developers <velorin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program for USB haze meters and colorimeters")
set(CPACK_PACKAGE_DESCRIPTION
  "Velorin identifies a hand-held haze/transmittance meter or colorimeter\n"
  "plugged in by USB, measures a standard and samples, shows haze,\n"
  "transmittance, L*a*b*, LCh, Yxy and colour differences with pass/fail\n"
  "verdicts, sets tolerances, imports stored records, takes spectral curves,\n"
  "exports spreadsheets and prints test reports, in English and Chinese.\n"
  "velorin-cli does the same work without a window.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velorin.example.org/")
# The libraries the programs link, found by dpkg-shlibdeps; Qt's platform plugins are loaded at
# run time and so are named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
