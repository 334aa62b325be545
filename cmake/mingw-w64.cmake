# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Quorblex Pro for 64-bit Windows with Debian's mingw-w64 (the POSIX thread model,
# which std::thread and std::mutex need):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORBLEX_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QUORBLEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORBLEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORBLEX_MINGW_PREFIX}-windres)
set(CMAKE_AR ${QUORBLEX_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUORBLEX_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

# Headers and libraries come from the cross tree only; programs (cmake, makensis) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QUORBLEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
