# The Windows build, cross-compiled with mingw-w64 (cmake/windows/
# mingw-w64-x86_64.cmake): the portable core with the Windows services and
# the registry settings store, pelmora-readings.exe, and the tests that
# scripts/test runs under Wine. Included by the top-level CMakeLists.txt in
# place of the Linux build.
enable_language(C RC)

# Windows 10 and later; the headers' min/max macros and the rarely used parts
# of windows.h stay out.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX)
# No DLL beside the system's own: the C++ runtime, libgcc and winpthread are
# linked in.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

find_package(Threads REQUIRED)

file(GLOB PELMORA_CORE_SOURCES CONFIGURE_DEPENDS
  src/core/*.cpp src/platform/*.cpp src/platform/windows/*.cpp
  src/readings/*.cpp src/net/*.cpp src/settings/*.cpp
  src/app/Startup.cpp src/app/CommandLine.cpp src/app/DisplayChoice.cpp src/app/ReadingsReport.cpp
  src/app/HeadlessWidget.cpp src/app/WindowsReadingsPlatform.cpp)
# The POSIX configuration folder and atomic file, and the .reg-file store,
# are Linux's.
list(FILTER PELMORA_CORE_SOURCES EXCLUDE REGEX
  "/src/platform/ConfigLocation\\.cpp$|/src/settings/(AtomicFile|RegFile|RegFileSettingsStore|RegValueLine)\\.cpp$")
add_library(pelmora_core STATIC ${PELMORA_CORE_SOURCES})
target_include_directories(pelmora_core PUBLIC src)
target_compile_definitions(pelmora_core PRIVATE PELMORA_VERSION="${PROJECT_VERSION}")
target_link_libraries(pelmora_core PUBLIC Threads::Threads
  advapi32 iphlpapi winmm shell32 ole32 user32)

set(PELMORA_MANIFEST_RESOURCE ${CMAKE_CURRENT_LIST_DIR}/pelmora.rc)
set_source_files_properties(${PELMORA_MANIFEST_RESOURCE} PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pelmora.manifest)

add_executable(pelmora-readings src/app/readings_main.cpp ${PELMORA_MANIFEST_RESOURCE})
target_link_libraries(pelmora-readings PRIVATE pelmora_core)

# The Win32 front end (src/win32): its windows, the settings dialog and the
# notification-area icon, with the pictures embedded as resources.
set(PELMORA_PICTURES_RESOURCE ${CMAKE_BINARY_DIR}/pictures.rc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/pictures.rc.in ${PELMORA_PICTURES_RESOURCE} @ONLY)
file(GLOB PELMORA_WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp src/win32/dialog/*.cpp)
list(FILTER PELMORA_WIN32_SOURCES EXCLUDE REGEX "/src/win32/WinMain\\.cpp$")
add_library(pelmora_win32 STATIC ${PELMORA_WIN32_SOURCES})
target_link_libraries(pelmora_win32 PUBLIC pelmora_core gdi32 gdiplus msimg32 windowscodecs comctl32 uuid
  shell32 user32)
# An executable that shows the notification-area icon also links the icon's resource.
set(PELMORA_TRAY_RESOURCE ${PROJECT_SOURCE_DIR}/src/win32/TrayIcon.rc)
set_source_files_properties(${PELMORA_TRAY_RESOURCE} PROPERTIES
  INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/resources/images
  OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/images/tray.ico)

# The widget: a GUI program.
add_executable(pelmora WIN32 src/win32/WinMain.cpp ${PELMORA_MANIFEST_RESOURCE} ${PELMORA_PICTURES_RESOURCE}
  ${PELMORA_TRAY_RESOURCE})
target_link_libraries(pelmora PRIVATE pelmora_win32)

include(${CMAKE_CURRENT_LIST_DIR}/Installer.cmake)

option(BUILD_TESTING "Build the tests (scripts/test runs them under Wine)" ON)
if(NOT BUILD_TESTING)
  return()
endif()

file(GLOB PELMORA_FAKE_SOURCES CONFIGURE_DEPENDS src/platform/fakes/*.cpp)
add_library(pelmora_fakes STATIC ${PELMORA_FAKE_SOURCES})
target_link_libraries(pelmora_fakes PUBLIC pelmora_core)

# GoogleTest from Debian's sources, built with the cross compiler.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The settings dialog alone, over no owner, against the prefix's registry:
# the end-to-end test under Wine drives it (tests/windows/test_settings_dialog.sh).
add_executable(pelmora_dialog_driver tests/windows/dialog/SettingsFormDriver.cpp ${PELMORA_MANIFEST_RESOURCE}
  ${PELMORA_PICTURES_RESOURCE})
target_link_libraries(pelmora_dialog_driver PRIVATE pelmora_win32)

# The unit tests of the core that need no Linux service or file store.
file(GLOB PELMORA_WINDOWS_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
list(FILTER PELMORA_WINDOWS_UNIT_TESTS EXCLUDE REGEX
  "/(Linux[A-Za-z]*|NetlinkRoute|SettingsStore[A-Za-z]*|SettingsLocation|PlacementFile|RefreshCycle)Test\\.cpp$")
add_executable(pelmora_unit_tests ${PELMORA_WINDOWS_UNIT_TESTS} ${PELMORA_MANIFEST_RESOURCE})
target_link_libraries(pelmora_unit_tests PRIVATE pelmora_fakes GTest::gtest_main)

# The Windows services and the registry store against the system's own
# functions.
file(GLOB PELMORA_WINDOWS_TESTS CONFIGURE_DEPENDS tests/windows/*.cpp)
add_executable(pelmora_windows_tests ${PELMORA_WINDOWS_TESTS} ${PELMORA_MANIFEST_RESOURCE}
  ${PELMORA_PICTURES_RESOURCE})
target_link_libraries(pelmora_windows_tests PRIVATE pelmora_win32 pelmora_fakes GTest::gtest_main)
target_compile_definitions(pelmora_windows_tests PRIVATE PELMORA_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")

# Shows the notification-area icon over a hidden window and logs what reaches
# it, for the end-to-end test of the icon under Wine (tests/windows/tray).
add_executable(pelmora_tray_driver tests/windows/tray/tray_driver.cpp
  ${PELMORA_MANIFEST_RESOURCE} ${PELMORA_TRAY_RESOURCE})
target_link_libraries(pelmora_tray_driver PRIVATE pelmora_win32)
