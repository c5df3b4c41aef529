# Cross-build for 64-bit Windows with Debian's MinGW-w64 (posix threads):
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64.cmake
# The runtime is linked statically, so typrosync.exe needs no DLLs beside the
# system's. ctest runs the Windows test programs under Wine (wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TYPROSYNC_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TYPROSYNC_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TYPROSYNC_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TYPROSYNC_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TYPROSYNC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The Wine prefix lives in the build folder; the wrapper makes it on first use.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
