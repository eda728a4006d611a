# The Debian package of the widget, built by `cpack -G DEB` from a build folder
# (scripts/package). It holds what the install rules install under /usr, plus
# the autostart entry in /etc, a configuration file that dpkg keeps until purge.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT TARGET pelmora)
  return()
endif()

# The package's version, the change log's latest entry and the metadata's
# latest release must agree; a release bumps all three.
file(STRINGS ${PELMORA_LINUX_DATA}/debian/changelog changelog_top LIMIT_COUNT 1)
file(READ ${PELMORA_LINUX_DATA}/${PELMORA_APP_ID}.metainfo.xml metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" _ "${metainfo}")
set(metainfo_version "${CMAKE_MATCH_1}")
if(NOT changelog_top MATCHES "^pelmora \\(${PROJECT_VERSION}\\) " OR NOT metainfo_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "Version ${PROJECT_VERSION} needs an entry at the top of "
    "packaging/linux/debian/changelog and of the releases in the metainfo file")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VENDOR Talvessa)
set(CPACK_PACKAGE_CONTACT "Talvessa <pelmora@talvessa.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop widget with live readings of this computer")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.talvessa.com/)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pelmora is a small, always-present widget for the X desktop: the processor's
name, clock and load on a dial gauge and bars, memory, used space on two
drives, traffic on two network interfaces, uptime, names, screen mode,
volume and battery. It starts at login; pelmora-readings prints the same
readings once for scripts.")
# Libraries from the programs themselves; the typefaces the widget's fonts map
# to (docs/fonts.md), the opener of its web link, and the libraries loaded only
# while they are needed (libjpeg for the body picture, libblkid for drive
# labels) are not linked, so they are named. No Qt platform plugin beyond the X one (in libqt6gui6) is required.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libjpeg62-turbo, libblkid1, fonts-open-sans, fonts-dejavu-core, fonts-liberation, xdg-utils")

set(conffiles ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
file(WRITE ${conffiles} "/etc/xdg/autostart/${PELMORA_APP_ID}.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${conffiles})

include(CPack)
