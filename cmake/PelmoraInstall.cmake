# Install rules: the two programs and, where the widget is built for a Linux
# desktop, its menu entry, its autostart entry, its icons, its AppStream
# metadata and the manual pages. Every name below carries one application id.
include(GNUInstallDirs)

set(PELMORA_APP_ID com.talvessa.Pelmora)
set(PELMORA_LINUX_DATA ${PROJECT_SOURCE_DIR}/packaging/linux)

install(TARGETS pelmora-readings RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# Manual pages and the change log are installed compressed, without a time
# stamp in the gzip header, as Debian wants them.
set(compressed_files)
function(pelmora_compress source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "mkdir -p \"$(dirname \"$2\")\" && gzip -9nc \"$1\" >\"$2\"" gzip ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
  set(compressed_files ${compressed_files} ${output} PARENT_SCOPE)
endfunction()

set(manual_pages pelmora-readings.1)
if(TARGET pelmora)
  list(APPEND manual_pages pelmora.1)
endif()
foreach(page ${manual_pages})
  pelmora_compress(${PELMORA_LINUX_DATA}/man/${page} ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(docdir ${CMAKE_INSTALL_DATADIR}/doc/pelmora)
pelmora_compress(${PELMORA_LINUX_DATA}/debian/changelog ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${PELMORA_LINUX_DATA}/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz
  DESTINATION ${docdir})
add_custom_target(pelmora_compressed_files ALL DEPENDS ${compressed_files})

if(NOT TARGET pelmora)
  return()
endif()

install(TARGETS pelmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PELMORA_LINUX_DATA}/${PELMORA_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PELMORA_LINUX_DATA}/${PELMORA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The autostart entry belongs in the system configuration folder that the
# desktops read ($XDG_CONFIG_DIRS, /etc/xdg by default). GNUInstallDirs maps
# "etc" to /etc only for the prefix /usr, and the prefix is known only at
# install time (cpack installs to /usr whatever the build was configured with),
# so the folder is decided then.
install(CODE "
  set(pelmora_autostart_entry \"${PELMORA_LINUX_DATA}/autostart/${PELMORA_APP_ID}.desktop\")
  set(pelmora_sysconfdir \"${CMAKE_INSTALL_SYSCONFDIR}\")")
install(CODE [[
  if(NOT IS_ABSOLUTE "${pelmora_sysconfdir}")
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
      set(pelmora_sysconfdir "/${pelmora_sysconfdir}")
    else()
      set(pelmora_sysconfdir "${CMAKE_INSTALL_PREFIX}/${pelmora_sysconfdir}")
    endif()
  endif()
  file(INSTALL DESTINATION "${pelmora_sysconfdir}/xdg/autostart" TYPE FILE
    FILES "${pelmora_autostart_entry}")
]])
