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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# The PostgreSQL driver only for a shared roster.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-urw-base35, fonts-liberation2, libqt6sql6-psql")
# The first line is the synopsis; CPack indents the rest as the long description.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "plan a small business's working week and print the schedule\n"
  "Rostelle keeps a list of employees and their positions and, for each weekday, their shifts on "
  "a one-hour, half-hour or quarter-hour grid, refusing overlapping shifts. It builds a printable "
  "one-page weekly schedule workbook (.xls), shows it in a zoomable preview and saves it where "
  "the user chooses. The schedule can also be written from the command line without a display.")

include(CPack)
