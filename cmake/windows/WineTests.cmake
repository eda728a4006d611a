# The Windows build's tests, run under Wine from the Linux build's ctest
# (label "windows") when scripts/test passes the Windows build folder. One
# throw-away prefix per ctest run: made first, removed last; the tests take
# turns in it.
set(PELMORA_WINDOWS_BUILD "" CACHE PATH "Folder of the Windows build whose tests ctest runs under Wine")
if(NOT PELMORA_WINDOWS_BUILD)
  return()
endif()

set(wine_prefix ${PROJECT_SOURCE_DIR}/scripts/wine-prefix)
set(wine_state ${CMAKE_BINARY_DIR}/wine-prefix.path)
set(test_display ${PROJECT_SOURCE_DIR}/scripts/with-test-display --no-tray --no-compositor)

add_test(NAME windows.prefix COMMAND ${wine_prefix} create ${wine_state})
set_tests_properties(windows.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
add_test(NAME windows.prefix_removal COMMAND ${wine_prefix} remove ${wine_state})
set_tests_properties(windows.prefix_removal PROPERTIES FIXTURES_CLEANUP wine_prefix)

add_test(NAME windows.unit
  COMMAND ${wine_prefix} run ${wine_state} wine ${PELMORA_WINDOWS_BUILD}/pelmora_unit_tests.exe --gtest_brief=1)
# Creating windows needs a display.
add_test(NAME windows.services
  COMMAND ${test_display} ${wine_prefix} run ${wine_state} wine ${PELMORA_WINDOWS_BUILD}/pelmora_windows_tests.exe --gtest_brief=1)
add_test(NAME windows.readings
  COMMAND ${wine_prefix} run ${wine_state} ${PROJECT_SOURCE_DIR}/tests/windows/test_readings.sh
    ${PELMORA_WINDOWS_BUILD}/pelmora-readings.exe)

# The widget on a desktop with a compositor and a notification area.
add_test(NAME windows.widget
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-test-display ${wine_prefix} run ${wine_state}
    ${PROJECT_SOURCE_DIR}/tests/windows/test_widget.sh ${PELMORA_WINDOWS_BUILD}/pelmora.exe)

set_tests_properties(windows.prefix windows.prefix_removal windows.unit windows.services windows.readings
  windows.widget PROPERTIES LABELS windows RESOURCE_LOCK wine_prefix)
set_tests_properties(windows.unit windows.services windows.readings windows.widget PROPERTIES
  FIXTURES_REQUIRED wine_prefix TIMEOUT 300)

# The settings dialog, driven with the mouse and keys on the virtual display.
add_test(NAME windows.settings_dialog
  COMMAND ${test_display} ${wine_prefix} run ${wine_state} ${PROJECT_SOURCE_DIR}/tests/windows/test_settings_dialog.sh
    ${PELMORA_WINDOWS_BUILD}/pelmora_dialog_driver.exe)
set_tests_properties(windows.settings_dialog PROPERTIES LABELS windows RESOURCE_LOCK wine_prefix
  FIXTURES_REQUIRED wine_prefix TIMEOUT 300)

# The notification-area icon docks in an XEmbed tray (trayer).
add_test(NAME windows.tray
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-test-display --no-compositor
    ${wine_prefix} run ${wine_state} ${PROJECT_SOURCE_DIR}/tests/windows/tray/test_tray.sh
    ${PELMORA_WINDOWS_BUILD}/pelmora_tray_driver.exe)
set_tests_properties(windows.tray PROPERTIES
  LABELS windows RESOURCE_LOCK wine_prefix FIXTURES_REQUIRED wine_prefix TIMEOUT 300)

# Pelmora-Setup.exe installs, starts at sign-in and uninstalls, silently; a
# running widget (on the display) is closed first.
add_test(NAME windows.installer
  COMMAND ${test_display} ${wine_prefix} run ${wine_state} ${PROJECT_SOURCE_DIR}/tests/windows/test_installer.sh
    ${PELMORA_WINDOWS_BUILD})
set_tests_properties(windows.installer PROPERTIES
  LABELS windows RESOURCE_LOCK wine_prefix FIXTURES_REQUIRED wine_prefix TIMEOUT 300)
