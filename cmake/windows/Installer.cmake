# Pelmora-Setup.exe in the build folder: the programs and an uninstaller,
# made with Debian's makensis from packaging/windows/pelmora.nsi. The widget,
# pelmora.exe, goes in when the build has it; until then the installer holds
# pelmora-readings.exe alone. Decided once every target of the build is known.
find_program(PELMORA_MAKENSIS makensis REQUIRED)

function(pelmora_add_installer)
  set(script ${PROJECT_SOURCE_DIR}/packaging/windows/pelmora.nsi)
  set(icon ${PROJECT_SOURCE_DIR}/resources/images/tray.ico)
  set(setup ${CMAKE_BINARY_DIR}/Pelmora-Setup.exe)
  set(programs pelmora-readings)
  set(defines -DREADINGS_EXE=$<TARGET_FILE:pelmora-readings>)
  if(TARGET pelmora)
    list(APPEND programs pelmora)
    list(APPEND defines -DWIDGET_EXE=$<TARGET_FILE:pelmora>)
  endif()
  add_custom_command(OUTPUT ${setup}
    COMMAND ${PELMORA_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DOUTFILE=${setup} -DICON=${icon}
      ${defines} ${script}
    DEPENDS ${programs} ${script} ${icon}
    COMMENT "Making the installer Pelmora-Setup.exe"
    VERBATIM)
  add_custom_target(installer ALL DEPENDS ${setup})
endfunction()
cmake_language(DEFER CALL pelmora_add_installer)
