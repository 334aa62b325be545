# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows programs: quorblex-sim.exe (console) from the top file, and the libraries the
# core's common/win32/ sources call. Both programs sit in the build folder's top with their data
# in res/ beside them, as on Linux; DataFiles finds it from the program's own path.

# SHGetKnownFolderPath (shell32, its folder ids in uuid, its buffer freed by ole32),
# CommandLineToArgvW (shell32), BCryptGenRandom (bcrypt).
target_link_libraries(quorblex_core PUBLIC shell32 ole32 uuid bcrypt)

# quorblex.exe, the Windows host of host/win32/, and its tests; then the installer and the zip.
# Each file adds its own targets and registers its checks with add_test, so ctest in the build
# folder (tools/windows_tests.sh) runs them with the rest.
include(${CMAKE_SOURCE_DIR}/cmake/Win32Host.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/cmake/WindowsPackage.cmake OPTIONAL)

# Every program runs from its folder alone: it imports only DLLs that Windows has.
set(windows_programs $<TARGET_FILE:quorblex-sim>)
if(TARGET quorblex)
  list(APPEND windows_programs $<TARGET_FILE:quorblex>)
endif()
add_test(NAME WindowsPrograms.ImportOnlyWhatWindowsHas
         COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check_windows_imports.sh ${windows_programs})
