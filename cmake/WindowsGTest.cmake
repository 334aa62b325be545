# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# GoogleTest and GoogleMock for the Windows tests, built here from Debian's source package
# (googletest), under the names find_package(GTest) gives on Linux.
set(QUORBLEX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${QUORBLEX_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are not in ${QUORBLEX_GTEST_SOURCE}: "
                      "apt-get install googletest (tools/packages.sh lists it)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# Not our code: its warnings are not ours to fix, and as SYSTEM its headers warn nobody. Like
# our test code it is compiled for a quick build (-O0): at -O3 it took twice as long.
add_subdirectory(${QUORBLEX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(target gtest gtest_main gmock gmock_main)
  target_compile_options(${target} PRIVATE -w -O0)
  if(NOT TARGET GTest::${target})
    add_library(GTest::${target} ALIAS ${target})
  endif()
endforeach()
