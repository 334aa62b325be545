# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Building for Windows (cmake/mingw-w64.cmake): how every target is compiled and linked, and how
# the build runs its programs under Wine. Included by the top file before any target exists;
# cmake/WindowsPrograms.cmake adds the Windows programs once the core is known.

# The C and C++ runtimes, libgcc and winpthread go into each program: nothing to ship beside
# the .exe but our data. Windows 10 is the oldest system we build for; the W functions by
# default, so every path is a wide one.
add_link_options(-static)
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                        NOMINMAX)

# Test programs run under Wine in a prefix of their own inside the build folder
# (tools/wine_run.sh makes it on first use), so ctest runs them like native ones.
set(QUORBLEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine_run.sh)
