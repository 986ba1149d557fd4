# SPDX-License-Identifier: Apache-2.0
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model gives std::thread and std::mutex, which Qt 6 needs. Programs are linked
# fully static, so Lautgarten.exe needs no DLL of the compiler's run-time beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LAUTGARTEN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LAUTGARTEN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LAUTGARTEN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LAUTGARTEN_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${LAUTGARTEN_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${LAUTGARTEN_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Headers and libraries come from the MinGW sysroot (and from the Qt prefix that the build adds
# to CMAKE_FIND_ROOT_PATH); programs run on the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${LAUTGARTEN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
