# Cross build for 64-bit Windows with Debian's mingw-w64 compiler (the POSIX
# thread model, which std::thread and std::mutex need):
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/windows/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELMORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELMORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELMORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PELMORA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELMORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run the executables under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
