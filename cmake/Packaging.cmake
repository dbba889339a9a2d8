# SPDX-License-Identifier: GPL-3.0-or-later
# What a Linux desktop needs besides the programs (desktop entry, AppStream metainfo, icons at
# every size, manuals), and the Debian package that CPack makes of everything `cmake --install`
# installs. tools/package.sh builds the package.
if(NOT UNIX OR APPLE)
  return()
endif()

set(OSTRABEL_PACKAGE_MAINTAINER "Ostrabel maintainers <maintainers@ostrabel.example.org>"
  CACHE STRING "Maintainer field and changelog signature of the Debian package")
set(resources ${PROJECT_SOURCE_DIR}/src/resources)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/ostrabel)

install(FILES ${resources}/ostrabel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# AppStream finds a component by its id, so the installed file is named after it.
install(FILES ${resources}/ostrabel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
  RENAME nl.ostrabel.ostrabel.metainfo.xml)
install(FILES ${resources}/ostrabel.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
foreach(size 48 64 128 256)
  install(FILES ${resources}/icons/${size}x${size}/ostrabel.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${docdir})

# Manuals and the changelog are installed compressed; -n keeps the name and time out of the
# gzip header, so the same sources always give the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(version ${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in debian/changelog.Debian @ONLY)
set(gzipped)
foreach(entry "docs/man/ostrabel.1|${CMAKE_INSTALL_MANDIR}/man1"
              "docs/man/ostrabel-cli.1|${CMAKE_INSTALL_MANDIR}/man1"
              "${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian|${docdir}")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 source)
  list(GET entry 1 destination)
  cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR})
  cmake_path(GET source FILENAME name)
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${GZIP_PROGRAM} -9nf ${copy}
    DEPENDS ${source} VERBATIM)
  install(FILES ${copy}.gz DESTINATION ${destination})
  list(APPEND gzipped ${copy}.gz)
endforeach()
add_custom_target(ostrabel_gzipped ALL DEPENDS ${gzipped})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrabel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${OSTRABEL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one-page photo year calendar maker")
set(CPACK_PACKAGE_DESCRIPTION [[
Ostrabel makes a one-page year calendar around a photo of your choice: a
header line with the year, the framed photo, a footer line and twelve month
grids with red weekends. The interface is Dutch.

The windowed program ostrabel prints the page or saves it as a BMP, PNG or PDF;
ostrabel-cli makes the same page from the command line as a BMP, PNG or PDF
file, or prints it.]])
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries; the page's fonts and Qt's Dutch dialogs do not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-liberation2, qt6-translations-l10n, qt6-image-formats-plugins")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
