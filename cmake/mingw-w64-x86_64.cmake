# SPDX-License-Identifier: GPL-3.0-or-later
# Windows 64-bit, with Debian's mingw-w64 cross-compiler (g++-mingw-w64-x86-64-posix).
# What needs no Qt is built: the core, its tests and korvalin; the tests run under Wine,
# in a Wine prefix of the build tree's own.
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
# One .exe that runs alone: the C++ and threads runtimes linked in, no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
find_program(KORVALIN_WINE NAMES wine64 wine)
if(KORVALIN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix ${KORVALIN_WINE})
endif()
