# The Debian package, made by CPack from the install rules: scripts/package.sh builds it.
# Dependencies come from the binaries (dpkg-shlibdeps), plus the font the layout is measured in.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/devozora)

# Debian wants a copyright file, and a changelog compressed with gzip -9n (the same bytes at every
# build of one source).
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-changelog.in changelog @ONLY)
add_custom_command(OUTPUT changelog.gz
  COMMAND sh -c "gzip -9n -c changelog > changelog.gz"
  DEPENDS ${CMAKE_BINARY_DIR}/changelog VERBATIM)
add_custom_target(package-documents ALL DEPENDS changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian-copyright DESTINATION ${doc_dir} RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/app/desktop/DevozOra.conf.example DESTINATION ${doc_dir}/examples
        RENAME DevozOra.conf)

set(CPACK_PACKAGE_NAME devozora)
set(CPACK_PACKAGE_VENDOR Quarvel)
set(CPACK_PACKAGE_CONTACT "DevozOra maintainers <devozora@quarvel.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "GPS instrument windows and a GPSD and NMEA server for chart plotters")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "DevozOra reads the NMEA 0183 stream of a GPS receiver, from a serial port
or from the network, and shows it in large instrument windows (sky view,
drum compass, course, date and time, speed, position) that can be dimmed for
night use. At the same time it serves the position to chart plotters over
TCP: in the GPSD protocols on port 2947 and as plain NMEA on port 10110.
.
Without a screen it runs as a service (devozora.service) on a boat's small
computer.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
# The windows need Qt's platform plugins (X11, and Wayland for a session without XWayland); the
# service without a screen does not.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS gpsd-clients)
set(CPACK_STRIP_FILES ON)
include(CPack)
