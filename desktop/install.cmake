# What `cmake --install` puts in place, and the Debian package made from it with CPack
# (`cmake --build build --target package`). The program itself reads none of these files: the
# desktop shows them, as Windows shows the resources.
include(GNUInstallDirs)

install(TARGETS brindlewick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Who makes it: the metadata's developer, the package's maintainer and the installer's publisher.
set(BRINDLEWICK_PUBLISHER "Brindlewick developers")
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/packages.cmake)
  return()
endif()

# The desktop entry's file name and the metadata's id must agree for software centres.
set(BRINDLEWICK_APP_ID org.brindlewick.Brindlewick)
set(BRINDLEWICK_MAINTAINER "${BRINDLEWICK_PUBLISHER} <brindlewick@example.org>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")
# The icon theme's sizes, listed once for the generator, the install and its check.
set(BRINDLEWICK_ICON_SIZE_LIST ${PROJECT_SOURCE_DIR}/resources/icons/sizes.txt)
file(STRINGS ${BRINDLEWICK_ICON_SIZE_LIST} BRINDLEWICK_ICON_SIZES REGEX "^[0-9]+$")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${BRINDLEWICK_ICON_SIZE_LIST})
# Build dates honour SOURCE_DATE_EPOCH, so the same sources make the same package.
string(TIMESTAMP BRINDLEWICK_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP BRINDLEWICK_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(_desktop_out ${CMAKE_CURRENT_BINARY_DIR}/desktop)
configure_file(${CMAKE_CURRENT_LIST_DIR}/brindlewick.desktop.in
               ${_desktop_out}/${BRINDLEWICK_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/metainfo.xml.in
               ${_desktop_out}/${BRINDLEWICK_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/brindlewick.6.in ${_desktop_out}/brindlewick.6 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${_desktop_out}/changelog @ONLY)

# Manual pages and Debian changelogs are installed compressed, without name or time stamp.
find_program(BRINDLEWICK_GZIP gzip REQUIRED)
set(_compressed)
foreach(_name brindlewick.6 changelog)
  add_custom_command(
    OUTPUT ${_desktop_out}/${_name}.gz
    COMMAND ${BRINDLEWICK_GZIP} -9nkf ${_desktop_out}/${_name}
    DEPENDS ${_desktop_out}/${_name}
    COMMENT "Compressing ${_name}")
  list(APPEND _compressed ${_desktop_out}/${_name}.gz)
endforeach()
add_custom_target(brindlewick_desktop_files ALL DEPENDS ${_compressed})

install(FILES ${_desktop_out}/${BRINDLEWICK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_desktop_out}/${BRINDLEWICK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_desktop_out}/brindlewick.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${_desktop_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brindlewick)
foreach(_size IN LISTS BRINDLEWICK_ICON_SIZES)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/brindlewick-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME brindlewick.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brindlewick)
set(CPACK_PACKAGE_CONTACT "${BRINDLEWICK_MAINTAINER}")
# A Debian synopsis does not repeat the package name: "desktop kaleidoscope".
string(REGEX REPLACE "^[^,]*, an? " "" CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "${PROJECT_DESCRIPTION}.\n\
Soft discs drift and turn over a rotating gradient, cloud layers and\n\
a logo, replicated into a ring of 10 to 24 wedges, every second one\n\
mirrored. The pattern morphs by itself and on the keys; P saves the\n\
picture as a PNG file.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian keeps that section for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Library dependencies come from the binary (dpkg-shlibdeps), never from a hand-written list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL's own box, which asks the start question on X11, is drawn in the X server's core fonts
# (a 12-point medium roman font set); an X server or Xwayland with only its built-in fonts cannot
# draw it. Without it the question is asked through zenity or kdialog where one is installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xfonts-base")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "zenity | kdialog")
include(CPack)
