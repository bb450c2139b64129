# Cross build of the Windows programs with mingw-w64 (x86_64, posix thread flavour), run and
# tested under Wine. Used by the "windows" preset:
#   cmake --preset windows && cmake --build --preset windows && ctest --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARNOCK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNOCK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOCK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOCK_MINGW_TRIPLE}-windres)

# Libraries and headers come from the mingw-w64 tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VARNOCK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Statically linked: the .exe files need no DLL beyond the system's own.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Every Windows program of the build, tests included, runs under Wine in one prefix kept inside
# the build folder, created on first use. The prefix path can be overridden for a shared one.
set(VARNOCK_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix"
    CACHE PATH "Wine prefix in which the Windows programs of this build run")
set(VARNOCK_WINE /usr/bin/wine CACHE FILEPATH "Wine launcher")
set(VARNOCK_WINESERVER /usr/bin/wineserver CACHE FILEPATH "Wine server")
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEDEBUG=-all WINEPREFIX=${VARNOCK_WINEPREFIX} ${VARNOCK_WINE})
