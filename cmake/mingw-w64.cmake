# Cross-builds for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads compilers, for
# std::thread), linking the C and C++ runtimes statically so a test or tool runs without DLLs
# beside it. Programs built here run under Wine: ctest and test discovery go through
# CMAKE_CROSSCOMPILING_EMULATOR, which names the Wine prefix itself, or Wine would make ~/.wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

if(NOT VEXLO_WINEPREFIX)
    set(VEXLO_WINEPREFIX "$ENV{HOME}/.cache/vexlo/wineprefix")
endif()
set(VEXLO_WINEPREFIX "${VEXLO_WINEPREFIX}" CACHE PATH "Wine prefix the Windows programs run in")
# Wine turns file names into Unix ones with LC_CTYPE: C.UTF-8 is always installed and keeps the
# ANSI code page at 1252.
set(CMAKE_CROSSCOMPILING_EMULATOR env "WINEPREFIX=${VEXLO_WINEPREFIX}" WINEDEBUG=-all
    LC_ALL=C.UTF-8 wine)
