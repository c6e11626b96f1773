# The Debian package made by `cpack` (make package) from the install rules. Its dependencies on
# shared libraries are read from the executable by dpkg-shlibdeps; what the program loads at run
# time without linking (the Qt SQLite driver, fonts for the schedule) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rostelle)
set(CPACK_PACKAGE_VENDOR "Tarrowby")
set(CPACK_PACKAGE_CONTACT "Tarrowby <${ROSTELLE_SUPPORT_EMAIL}>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libpq is loaded at run time (store/LibPq.cpp), so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libpq5")
# The PostgreSQL driver only for a shared roster.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-urw-base35, fonts-liberation2, libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ROSTELLE_CONTACT_URL})
# The first line is the synopsis; CPack indents the rest as the long description, line by line,
# so the lines are broken here to stay under 80 columns.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "plan a small business's working week and print the schedule\n"
  "Rostelle keeps a list of employees and their positions and, for each weekday,\n"
  "their shifts on a one-hour, half-hour or quarter-hour grid, refusing\n"
  "overlapping shifts. It builds a printable one-page weekly schedule workbook\n"
  "(.xls), shows it in a zoomable preview and saves it where the user chooses.\n"
  "The schedule can also be written from the command line without a display.")

# The copyright file and the changelog Debian asks of every package, the changelog compressed
# as Debian installs it (-n: no time stamp in the file).
set(debian_doc ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
set(debian_changelog ${CMAKE_BINARY_DIR}/debian/changelog.gz)
add_custom_command(
  OUTPUT ${debian_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/desktop/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog
  COMMAND gzip -9 -n -f ${CMAKE_BINARY_DIR}/debian/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/desktop/debian/changelog
  VERBATIM
)
add_custom_target(debian_changelog ALL DEPENDS ${debian_changelog})
install(FILES ${PROJECT_SOURCE_DIR}/desktop/debian/copyright ${debian_changelog} DESTINATION ${debian_doc})

include(CPack)
