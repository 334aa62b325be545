# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Building for Windows (cmake/mingw-w64.cmake): how every target is compiled and linked, and how
# the build runs its programs under Wine. Included by the top file before any target exists;
# cmake/WindowsPrograms.cmake adds the Windows programs once the core is known, and
# cmake/WindowsTests.cmake the tests.

# The C and C++ runtimes, libgcc and winpthread go into each program: nothing to ship beside
# the .exe but our data. Windows 10 is the oldest system we build for; the W functions by
# default, so every path is a wide one.
add_link_options(-static)
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                        NOMINMAX)

# The Windows programs' files register their tests as they go (cmake/WindowsPrograms.cmake).
enable_testing()

if(CMAKE_HOST_SYSTEM_NAME STREQUAL "Linux")
  # Programs built here run under Wine, in a prefix of their own inside the build folder that
  # tools/wine_run.sh makes on first use; ctest runs the test programs through it like native
  # ones. Wine's drive Z: is the build machine's root, which is how a test program names the
  # source and build folders.
  set(QUORBLEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine_run.sh ${QUORBLEX_WINEPREFIX})
  set(QUORBLEX_TEST_PATH_PREFIX "Z:")
endif()
